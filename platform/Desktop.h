#pragma once

#include <filesystem>

namespace vesko {

// The user's desktop session, for what the application hands over to other programs.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Asks the desktop to show `folder` in the user's file browser. Returns at once without
    // waiting for the browser to appear; a failure is not reported. Main thread only.
    virtual void showFolder(const std::filesystem::path& folder) = 0;
};

}  // namespace vesko
