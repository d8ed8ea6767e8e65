#include "PhotoViewModel.h"

#include <algorithm>
#include <cstdio>

#include "platform/Paths.h"

namespace vesko {
namespace {

// What the next answers will show: the head and the two behind it (Yes, No and Maybe alike
// make the second the head), and the photo that Undo would bring back.
std::vector<std::string> comingUp(const std::deque<std::string>& queue,
                                  const std::optional<MoveRecord>& lastMoved) {
    const auto ahead = std::min<std::ptrdiff_t>(std::ssize(queue), 3);
    std::vector<std::string> files(queue.begin(), queue.begin() + ahead);
    if (lastMoved) {
        files.push_back(lastMoved->file);
    }
    return files;
}

}  // namespace

std::shared_ptr<PhotoViewModel> PhotoViewModel::create(PlatformServices services) {
    return std::shared_ptr<PhotoViewModel>(new PhotoViewModel(std::move(services)), &tearDown);
}

PhotoViewModel::PhotoViewModel(PlatformServices services) : services_(std::move(services)) {}

// The last holder may be a drop's delivery on a worker thread; the fields belong to the main
// thread, so the teardown goes there.
void PhotoViewModel::tearDown(PhotoViewModel* classifier) {
    auto mainThread = classifier->services_.mainThread;
    if (mainThread->isMainThread()) {
        delete classifier;
    } else {
        mainThread->post([classifier] { delete classifier; });
    }
}

PhotoViewModel::~PhotoViewModel() {
    if (!services_.mainThread->isMainThread()) {
        std::fputs("PhotoViewModel: torn down off the main thread\n", stderr);
    }
}

ClassifierState PhotoViewModel::state() const {
    if (!folderName().has_value()) {
        return ClassifierState::Start;
    }
    return queue_.empty() ? ClassifierState::Finished : ClassifierState::Deciding;
}

void PhotoViewModel::showCurrent() {
    if (!queue_.empty()) {
        const std::string& head = queue_.front();
        services_.imageDecoder->expect(comingUp(queue_, lastMoved_));
        currentImage_.set(services_.imageDecoder->decode(head));
        currentFileName_.set(lastPathComponent(head));
        remaining_.set(static_cast<std::int64_t>(queue_.size()));
        return;
    }
    services_.imageDecoder->expect({});
    currentImage_.set(nullptr);
    currentFileName_.set(std::nullopt);
    showFinished_.set(true);
    if (sourceFolder_) {
        services_.desktop->showFolder(*sourceFolder_);
    }
}

}  // namespace vesko
