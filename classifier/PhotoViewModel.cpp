#include "PhotoViewModel.h"

#include <algorithm>
#include <cstdio>

#include "platform/Paths.h"

namespace vesko {
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

void PhotoViewModel::setImageProblem(DecodeProblem problem) {
    if (imageProblem() != problem) {
        imageProblem_.set(problem);
    }
}

void PhotoViewModel::setCurrentCompanions(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths) {
        names.push_back(lastPathComponent(path));
    }
    if (currentCompanions() != names) {
        currentCompanions_.set(std::move(names));
    }
}

bool PhotoViewModel::movesCompanions() const {
    return services_.preferences && services_.preferences->movesCompanions();
}

void PhotoViewModel::setMovesCompanions(bool value) {
    if (services_.preferences) {
        services_.preferences->setMovesCompanions(value);
    }
}

void PhotoViewModel::dismissNotice() {
    if (notice()) {
        notice_.set(std::nullopt);
    }
}

// A photo whose file has gone is no decision to wait for: were it kept, the folder could never
// be finished. Anything still there under its name (a file that cannot be read, a folder named
// like a photo) stays, and can be answered.
bool PhotoViewModel::dropIfGone(const std::string& path) {
    const auto entry = std::ranges::find(queue_, path, &QueueEntry::path);
    if (entry == queue_.end() || !services_.fileSystem->isGone(path)) {
        return false;
    }
    notice_.set(Notice{Notice::Step::skip, lastPathComponent(path), std::string(),
                       FileError{FileProblem::missing, {}}});
    const std::string gone = std::move(entry->path);
    queue_.erase(entry);
    total_.set(total() - 1);
    frameLeft(gone, false);
    return true;
}

// A damaged JPEG must not hide its good RAW: the user would answer the shot unseen.
ImageHandle PhotoViewModel::rawPreviewOfHead() {
    for (const std::string& companion : queue_.front().companions) {
        if (!isRawName(companion)) continue;
        if (ImageHandle image = services_.imageDecoder->decode(companion)) {
            std::vector<std::string> hint = expectedFiles();
            hint.front() = companion;  // the zoom reads the file that is shown
            services_.imageDecoder->expect(hint);
            return image;
        }
    }
    return nullptr;
}

void PhotoViewModel::showCurrent() {
    ImageHandle image;
    bool fromRaw = false;
    while (!queue_.empty()) {
        services_.imageDecoder->expect(expectedFiles());
        image = services_.imageDecoder->decode(queue_.front().path);
        if (image) break;
        if (!dropIfGone(queue_.front().path)) {
            image = rawPreviewOfHead();
            fromRaw = image != nullptr;
            break;
        }
    }
    if (!queue_.empty()) {
        const std::string& head = queue_.front().path;
        currentImage_.set(std::move(image));
        if (showsRawPreview() != fromRaw) showsRawPreview_.set(fromRaw);
        setImageProblem(currentImage() ? DecodeProblem::none
                                       : services_.imageDecoder->whyNoImage(head));
        currentFileName_.set(lastPathComponent(head));
        setCurrentCompanions(queue_.front().companions);
        remaining_.set(static_cast<std::int64_t>(queue_.size()));
        publishBurst();
        publishComparison();
        return;
    }
    services_.imageDecoder->expect({});
    currentImage_.set(nullptr);
    if (showsRawPreview()) showsRawPreview_.set(false);
    setImageProblem(DecodeProblem::none);
    currentFileName_.set(std::nullopt);
    setCurrentCompanions({});
    publishBurst();
    compared_.reset();
    publishComparison();
    showFinished_.set(true);
    if (sourceFolder_) {
        services_.desktop->showFolder(*sourceFolder_);
    }
}

}  // namespace vesko
