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

void PhotoViewModel::classifyCurrent(std::string_view subfolder) {
    if (!sourceFolder_ || queue_.empty() || !isPlainName(subfolder)) {
        return;
    }
    std::string photo = std::move(queue_.front());
    queue_.pop_front();
    const std::string folder = appendingPathComponent(*sourceFolder_, subfolder);
    services_.fileSystem->createDirectories(folder);
    std::string destination = appendingPathComponent(folder, lastPathComponent(photo));
    const bool moved = !services_.fileSystem->move(photo, destination);
    lastMoved_ = MoveRecord{std::move(photo), std::move(destination), moved};
    progress_.set(progress() + 1);
    canUndo_.set(true);
    showCurrent();
}

void PhotoViewModel::skipCurrent() {
    if (queue_.empty()) {
        return;
    }
    queue_.push_back(std::move(queue_.front()));
    queue_.pop_front();
    canUndo_.set(false);
    showCurrent();
}

void PhotoViewModel::undoLast() {
    if (!lastMoved_) {
        return;
    }
    MoveRecord record = std::move(*lastMoved_);
    if (record.moved) {
        services_.fileSystem->move(record.destination, record.file);
    }
    queue_.push_front(std::move(record.file));
    progress_.set(std::max<std::int64_t>(progress() - 1, 0));
    lastMoved_.reset();
    canUndo_.set(false);
    showCurrent();
}

void PhotoViewModel::reset() {
    queue_.clear();
    services_.imageDecoder->expect({});
    currentImage_.set(nullptr);
    currentFileName_.set(std::nullopt);
    folderName_.set(std::nullopt);
    sourceFolder_.reset();
    progress_.set(0);
    total_.set(0);
    canUndo_.set(false);
    lastMoved_.reset();
    showFinished_.set(false);
}

}  // namespace vesko
