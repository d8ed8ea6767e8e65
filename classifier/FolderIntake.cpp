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
    dismissNotice();
    recoverInterruptedMoves(folder);
    sourceFolder_ = folder;
    folderName_.set(lastPathComponent(folder));
    auto entries = services_.fileSystem->list(folder);
    queue_ = entries ? photosWithCompanions(std::move(*entries), movesCompanions(),
                                            *services_.fileSystem)
                     : std::deque<QueueEntry>{};
    total_.set(static_cast<std::int64_t>(queue_.size()));
    progress_.set(0);
    showCurrent();
}

}  // namespace vesko
