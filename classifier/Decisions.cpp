#include <algorithm>

#include "PhotoViewModel.h"
#include "platform/Paths.h"

namespace vesko {
namespace {

// A decision names a folder directly inside the chosen one, nothing that climbs out of it.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace

// Creates the subfolder and moves the photo into it. A file standing where the subfolder
// should be is not a name taken in the subfolder, so that case reads as a plain failure.
FileError PhotoViewModel::moveIntoSubfolder(const std::string& photo, const std::string& folder,
                                            const std::string& destination) {
    FileError error = services_.fileSystem->createDirectories(folder);
    if (error.problem == FileProblem::nameTaken) {
        error.problem = FileProblem::other;
    }
    return error ? error : services_.fileSystem->move(photo, destination);
}

void PhotoViewModel::classifyCurrent(std::string_view subfolder) {
    if (!sourceFolder_ || queue_.empty() || !isPlainName(subfolder)) {
        return;
    }
    const std::string& photo = queue_.front();
    const std::string folder = appendingPathComponent(*sourceFolder_, subfolder);
    std::string destination = appendingPathComponent(folder, lastPathComponent(photo));
    // A move that did not happen is no decision: the photo stays current and nothing counts.
    if (FileError error = moveIntoSubfolder(photo, folder, destination)) {
        notice_.set(Notice{Notice::Step::decide, lastPathComponent(photo), std::string(subfolder),
                           std::move(error)});
        return;
    }
    dismissNotice();
    lastMoved_ = MoveRecord{std::move(queue_.front()), std::move(destination)};
    queue_.pop_front();
    progress_.set(progress() + 1);
    canUndo_.set(true);
    showCurrent();
}

void PhotoViewModel::skipCurrent() {
    if (queue_.empty()) {
        return;
    }
    dismissNotice();
    queue_.push_back(std::move(queue_.front()));
    queue_.pop_front();
    canUndo_.set(false);
    showCurrent();
}

void PhotoViewModel::undoLast() {
    if (!lastMoved_) {
        return;
    }
    // Until the photo is back at its old path, that path may name another file: queue it only
    // once the move back has happened.
    if (FileError error = services_.fileSystem->move(lastMoved_->destination, lastMoved_->file)) {
        notice_.set(Notice{Notice::Step::undo, lastPathComponent(lastMoved_->file),
                           folderName().value_or(std::string()), std::move(error)});
        return;
    }
    dismissNotice();
    MoveRecord record = std::move(*lastMoved_);
    queue_.push_front(std::move(record.file));
    progress_.set(std::max<std::int64_t>(progress() - 1, 0));
    lastMoved_.reset();
    canUndo_.set(false);
    showCurrent();
}

void PhotoViewModel::reset() {
    queue_.clear();
    currentImage_.set(nullptr);
    setImageProblem(DecodeProblem::none);
    currentFileName_.set(std::nullopt);
    folderName_.set(std::nullopt);
    sourceFolder_.reset();
    progress_.set(0);
    total_.set(0);
    canUndo_.set(false);
    lastMoved_.reset();
    showFinished_.set(false);
    dismissNotice();
}

}  // namespace vesko
