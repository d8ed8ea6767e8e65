#include <algorithm>

#include "PhotoViewModel.h"

namespace vesko {

void PhotoViewModel::readCaptureTimesAhead() {
    captureMoments_.clear();
    if (!services_.captureReader) return;
    std::vector<std::string> files;
    files.reserve(queue_.size());
    for (const QueueEntry& entry : queue_) files.push_back(entry.path);
    // The reader's thread hands each file over; the main thread takes it in.
    services_.captureReader->readAhead(std::move(files),
                                       [weak = weak_from_this(), mainThread = services_.mainThread](
                                           const std::string& file, const ShootingFacts& facts) {
                                           mainThread->post([weak, file, facts] {
                                               if (const auto self = weak.lock())
                                                   self->noteCaptureTime(file, facts);
                                           });
                                       });
}

void PhotoViewModel::noteCaptureTime(const std::string& file, const ShootingFacts& facts) {
    // A late delivery for a folder no longer loaded is no business of this one.
    if (!sourceFolder_) return;
    captureMoments_[file] = captureMomentOf(facts);
    publishBurst();
}

// While comparing, the chosen frame leads the queue but counts in its place among the frames.
std::optional<CaptureMoment> PhotoViewModel::captureMomentAt(long offset) const {
    const long size = long(queue_.size());
    long at = offset;
    if (compared_) {
        const std::string& chosen = compared_->panes[compared_->chosen];
        at += long(std::ranges::find(compared_->frames, chosen) - compared_->frames.begin());
    }
    // The queue has a front: a photo sent back by Maybe does not come before the head.
    if (at < 0 || at >= size) return std::nullopt;
    const auto index = std::size_t(at);
    const std::string& path = compared_ && index < compared_->frames.size()
                                  ? compared_->frames[index]
                                  : queue_[index].path;
    const auto found = captureMoments_.find(path);
    return found == captureMoments_.end() ? std::nullopt : found->second;
}

void PhotoViewModel::publishBurst() {
    auto burst = queue_.empty() ? std::nullopt : burstAround(queue_.size(), [this](long offset) {
        return captureMomentAt(offset);
    });
    if (currentBurst() != burst) currentBurst_.set(std::move(burst));
}

}  // namespace vesko
