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

std::string folderOf(const std::string& path) {
    return lastPathComponent(std::filesystem::path(path).parent_path().native());
}

// The photo first, then each companion into (or out of) the same folder under its own name.
// Companions may have gone since the listing; the photo may not.
std::vector<PlannedMove> groupMove(const std::string& from, const std::string& to,
                                   const std::vector<std::string>& companions,
                                   const std::string& companionFolder, bool intoFolder) {
    std::vector<PlannedMove> group{{from, to, false}};
    for (const std::string& companion : companions) {
        std::string elsewhere =
            appendingPathComponent(companionFolder, lastPathComponent(companion));
        if (intoFolder) {
            group.push_back({companion, std::move(elsewhere), true});
        } else {
            group.push_back({std::move(elsewhere), companion, true});
        }
    }
    return group;
}

// The old paths of the companions a group move carried (all but the photo and the skipped).
std::vector<std::string> companionsMoved(const std::vector<PlannedMove>& group,
                                         const GroupMove& result, bool fromSide) {
    std::vector<std::string> moved;
    for (std::size_t i = 1; i < group.size(); ++i) {
        if (std::ranges::find(result.skipped, i) == result.skipped.end()) {
            moved.push_back(fromSide ? group[i].from : group[i].to);
        }
    }
    return moved;
}

}  // namespace

bool PhotoViewModel::moveTogether(const std::vector<PlannedMove>& group, Notice::Step step,
                                  std::string_view folderName, std::vector<std::string>* moved) {
    const GroupMove result = moveRecorded(group);
    if (result.error) {
        Notice notice{step, lastPathComponent(group[result.blocker].from), std::string(folderName),
                      result.error};
        if (result.error.problem == FileProblem::linkedFolder && step == Notice::Step::undo) {
            notice.folder = folderOf(group.front().from);  // the subfolder is the link
        }
        for (const std::size_t i : result.stranded) {
            notice.stranded.push_back(lastPathComponent(group[i].to));
        }
        notice_.set(std::move(notice));
        return false;
    }
    *moved = companionsMoved(group, result, step == Notice::Step::decide);
    return true;
}

void PhotoViewModel::classifyCurrent(std::string_view subfolder) {
    if (!sourceFolder_ || queue_.empty() || !isPlainName(subfolder)) {
        return;
    }
    const QueueEntry& head = queue_.front();
    const std::string folder = appendingPathComponent(*sourceFolder_, subfolder);
    // A file standing where the subfolder should be is not a name taken in the subfolder.
    if (FileError error = services_.fileSystem->createDirectories(folder)) {
        if (error.problem == FileProblem::nameTaken) error.problem = FileProblem::other;
        notice_.set(Notice{Notice::Step::decide, lastPathComponent(head.path),
                           std::string(subfolder), std::move(error)});
        return;
    }
    std::string destination = appendingPathComponent(folder, lastPathComponent(head.path));
    std::vector<std::string> companions;
    // A move that did not happen is no decision: the photo stays current and nothing counts.
    if (!moveTogether(groupMove(head.path, destination, head.companions, folder, true),
                      Notice::Step::decide, subfolder, &companions)) {
        if (dropIfGone(queue_.front().path)) showCurrent();
        return;
    }
    dismissNotice();
    lastMoved_ =
        MoveRecord{std::move(queue_.front().path), std::move(destination), std::move(companions)};
    queue_.pop_front();
    frameLeft(lastMoved_->file, true);
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
    frameLeft(queue_.back().path, false);
    canUndo_.set(false);
    showCurrent();
}

void PhotoViewModel::undoLast() {
    if (!lastMoved_) {
        return;
    }
    const std::string folder = std::filesystem::path(lastMoved_->destination).parent_path();
    std::vector<std::string> companions;
    // Until the photo is back at its old path, that path may name another file: queue it only
    // once the move back has happened.
    if (!moveTogether(groupMove(lastMoved_->destination, lastMoved_->file, lastMoved_->companions,
                                folder, false),
                      Notice::Step::undo, folderName().value_or(std::string()), &companions)) {
        return;
    }
    dismissNotice();
    queue_.push_front({std::move(lastMoved_->file), std::move(companions)});
    // Back into the comparison it was answered in; any other photo is shown on its own.
    compared_ = std::exchange(beforeLastAnswer_, std::nullopt);
    if (compared_) arrangeComparedFrames();
    progress_.set(std::max<std::int64_t>(progress() - 1, 0));
    lastMoved_.reset();
    canUndo_.set(false);
    // Undo after the last answer takes "Done!" back with it.
    if (showFinished()) showFinished_.set(false);
    showCurrent();
}

void PhotoViewModel::reset() {
    queue_.clear();
    compared_.reset();
    beforeLastAnswer_.reset();
    if (services_.captureReader) services_.captureReader->readAhead({}, nullptr);
    services_.imageDecoder->expect({});
    currentImage_.set(nullptr);
    if (showsRawPreview()) showsRawPreview_.set(false);
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
    setCurrentCompanions({});
    captureMoments_.clear();
    publishBurst();
    publishComparison();
}

}  // namespace vesko
