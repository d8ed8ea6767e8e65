#pragma once

#include "platform/FolderChooser.h"

namespace vesko {

// Qt's modal folder dialog; on a desktop with a portal or a native theme Qt shows the
// desktop's own dialog instead.
class QtFolderChooser : public FolderChooser {
public:
    std::optional<std::filesystem::path> chooseFolder() override;
};

}  // namespace vesko
