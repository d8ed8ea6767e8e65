#include "PhotoViewModel.h"
#include "platform/FileUrl.h"
#include "platform/Paths.h"

namespace vesko {

void PhotoViewModel::selectFolder() {
    if (auto folder = services_.folderChooser->chooseFolder()) {
        loadFolder(*folder);
    }
}

void PhotoViewModel::handleDrop(const std::vector<std::shared_ptr<ItemProvider>>& providers) {
    if (providers.empty()) {
        return;
    }
    // The delivery runs on another thread: it carries what it needs and touches no field.
    providers.front()->loadItem(
        kFileUrlType, [self = shared_from_this(), fileSystem = services_.fileSystem,
                       mainThread = services_.mainThread](std::optional<Item> item,
                                                          std::optional<std::string>) mutable {
            const auto* bytes = item ? std::get_if<ItemBytes>(&*item) : nullptr;
            if (!bytes) {
                return;
            }
            auto folder = pathFromUrlBytes(*bytes);
            if (!folder || !fileSystem->kindOf(*folder).isDirectory) {
                return;
            }
            mainThread->post(
                [self = std::move(self), folder = folder->native()] { self->loadFolder(folder); });
        });
}

void PhotoViewModel::loadFolder(const std::string& folder) {
    // A load is no answer: what was found out about interrupted moves stays until there is one.
    if (notice() && notice()->step != Notice::Step::recover) dismissNotice();
    recoverInterruptedMoves(folder);
    std::error_code why;
    auto entries = services_.fileSystem->list(folder, &why);
    // A folder that cannot be read is not a finished one: the start screen stays, and says why.
    if (!entries) {
        Notice notice{Notice::Step::load, {}, folder, {FileProblem::other, why}};
        if (this->notice()) notice.recovered = this->notice()->recovered;
        notice_.set(std::move(notice));
        return;
    }
    sourceFolder_ = folder;
    folderName_.set(lastPathComponent(folder));
    queue_ = photosWithCompanions(std::move(*entries), movesCompanions(), *services_.fileSystem);
    total_.set(static_cast<std::int64_t>(queue_.size()));
    progress_.set(0);
    compared_.reset();
    beforeLastAnswer_.reset();
    readCaptureTimesAhead();
    showCurrent();
}

}  // namespace vesko
