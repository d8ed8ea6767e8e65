#pragma once

#include "platform/Desktop.h"

namespace vesko {

// Shows a folder in the user's file manager: asks it over D-Bus (the freedesktop.org
// FileManager1 interface) and, when nobody answers there, hands the folder's URL to the
// desktop's default handler. Never waits for either.
class FileManagerDesktop : public Desktop {
public:
    void showFolder(const std::filesystem::path& folder) override;
};

}  // namespace vesko
