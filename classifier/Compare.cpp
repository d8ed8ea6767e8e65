#include <algorithm>
#include <unordered_map>

#include "PhotoViewModel.h"
#include "platform/Paths.h"

namespace vesko {
namespace {

bool contains(const std::vector<std::string>& paths, const std::string& path) {
    return std::ranges::find(paths, path) != paths.end();
}

}  // namespace

void PhotoViewModel::compare(std::size_t maxPanes) {
    if (compared_ || queue_.size() < 2 || maxPanes < 2) return;
    Compared compared{{queue_.front().path}, {}, 0};
    for (long i = 1; i < long(queue_.size()); ++i) {
        const auto before = captureMomentAt(i - 1);
        const auto after = captureMomentAt(i);
        if (!before || !after || !continuesBurst(*before, *after)) break;
        compared.frames.push_back(queue_[std::size_t(i)].path);
    }
    if (compared.frames.size() == 1) compared.frames.push_back(queue_[1].path);
    const auto shown = std::min(maxPanes, compared.frames.size());
    compared.panes.assign(compared.frames.begin(), compared.frames.begin() + long(shown));
    compared_ = std::move(compared);
    beforeLastAnswer_.reset();
    showCurrent();
}

void PhotoViewModel::choosePane(std::size_t pane) {
    if (!compared_ || pane >= compared_->panes.size() || pane == compared_->chosen) return;
    compared_->chosen = pane;
    arrangeComparedFrames();
    showCurrent();
}

void PhotoViewModel::endComparison() {
    if (!compared_) return;
    compared_.reset();
    beforeLastAnswer_.reset();
    showCurrent();
}

void PhotoViewModel::frameLeft(const std::string& path, bool answered) {
    if (!compared_) {
        beforeLastAnswer_.reset();
        return;
    }
    if (answered) {
        beforeLastAnswer_ = compared_;
    } else {
        beforeLastAnswer_.reset();
    }
    Compared& compared = *compared_;
    std::erase(compared.frames, path);
    const auto pane = std::ranges::find(compared.panes, path);
    if (pane != compared.panes.end()) {
        const auto next = std::ranges::find_if(compared.frames, [&](const std::string& frame) {
            return !contains(compared.panes, frame);
        });
        if (next != compared.frames.end()) {
            *pane = *next;
        } else {
            compared.panes.erase(pane);
        }
    }
    if (compared.panes.size() < 2) {
        compared_.reset();
        return;
    }
    compared.chosen = std::min(compared.chosen, compared.panes.size() - 1);
    arrangeComparedFrames();
}

// The frames still compared lead the queue; only their order there changes.
void PhotoViewModel::arrangeComparedFrames() {
    const Compared& compared = *compared_;
    const std::size_t count = compared.frames.size();
    std::unordered_map<std::string, QueueEntry> leading;
    for (std::size_t i = 0; i < std::min(count, queue_.size()); ++i) {
        leading.emplace(queue_[i].path, queue_[i]);
    }
    const std::string& chosen = compared.panes[compared.chosen];
    if (leading.size() != count || !std::ranges::all_of(compared.frames, [&](const auto& frame) {
            return leading.contains(frame);
        })) {
        compared_.reset();  // not the queue the comparison was made of: show it plainly
        return;
    }
    std::size_t at = 0;
    queue_[at++] = std::move(leading.at(chosen));
    for (const std::string& frame : compared.frames) {
        if (frame != chosen) queue_[at++] = std::move(leading.at(frame));
    }
}

std::vector<std::string> PhotoViewModel::expectedFiles() const {
    std::vector<std::string> files;
    if (compared_) {
        // Every pane, the chosen first, and the frame that an answer brings in next.
        files.push_back(compared_->panes[compared_->chosen]);
        for (const std::string& pane : compared_->panes) {
            if (!contains(files, pane)) files.push_back(pane);
        }
        for (const std::string& frame : compared_->frames) {
            if (files.size() > compared_->panes.size()) break;
            if (!contains(files, frame)) files.push_back(frame);
        }
    } else {
        // The head and the two behind it (Yes, No and Maybe alike make the second the head); in
        // a burst also the frame after those, which C shows in its fourth pane.
        const auto inBurst = [this](long i) {
            const auto before = captureMomentAt(i - 1), after = captureMomentAt(i);
            return before && after && continuesBurst(*before, *after);
        };
        const std::size_t ahead =
            queue_.size() > 3 && inBurst(1) && inBurst(2) && inBurst(3) ? 4 : 3;
        for (std::size_t i = 0; i < std::min(queue_.size(), ahead); ++i) {
            files.push_back(queue_[i].path);
        }
    }
    if (lastMoved_) files.push_back(lastMoved_->file);
    return files;
}

void PhotoViewModel::publishComparison() {
    if (!compared_) {
        if (comparison()) comparison_.set(std::nullopt);
        return;
    }
    Comparison shown{{}, compared_->chosen};
    for (std::size_t i = 0; i < compared_->panes.size(); ++i) {
        const std::string path = compared_->panes[i];
        if (i == compared_->chosen) {
            shown.panes.push_back({lastPathComponent(path), {}, currentImage(), imageProblem()});
            continue;
        }
        ImageHandle image = services_.imageDecoder->decode(path);
        // A frame deleted behind Vesko's back leaves its pane as the head leaves the single view.
        if (!image && dropIfGone(path)) {
            showCurrent();
            return;
        }
        const DecodeProblem problem =
            image ? DecodeProblem::none : services_.imageDecoder->whyNoImage(path);
        shown.panes.push_back({lastPathComponent(path), path, std::move(image), problem});
    }
    if (comparison() != shown) comparison_.set(std::move(shown));
}

}  // namespace vesko
