#pragma once

#include <filesystem>
#include <optional>

namespace vesko {

// The desktop's dialog for picking one folder.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;

    // Shows a modal chooser in which only folders can be picked, one at a time, and blocks
    // until it closes. Returns the chosen folder's absolute path, or nothing when the user
    // cancelled or the chooser closed without a folder. Main thread only.
    virtual std::optional<std::filesystem::path> chooseFolder() = 0;
};

}  // namespace vesko
