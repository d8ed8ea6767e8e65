#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vesko {

// What the command line asks for.
struct LaunchRequest {
    // Nothing: open the window. Otherwise leave at once with this status.
    std::optional<int> exitCode;
    QString standardOutput;  // --help, --version
    QString standardError;   // one line per problem, or the help after an unknown option
    // The folder to load at once, as an absolute path of bytes.
    std::optional<std::string> folder;
    // Why the folder given was not loaded, for the start screen; empty when it was.
    QString notice;
};

// Reads `arguments` (argv as bytes, the program first):
//   vesko [--help] [--version] [FOLDER]
// FOLDER is a path, relative to `workingDirectory`, or a file:// URL; a name is taken byte for
// byte, so spaces, newlines and bytes that are no UTF-8 work. Only the first FOLDER is opened.
// Qt's own options (-platform, -style, -session ...) are passed over, so this can run before
// the GUI application is made, which needs a display. Needs an application object (a
// QCoreApplication will do), for the texts' translation and the version.
LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments,
                                  const std::filesystem::path& workingDirectory);

}  // namespace vesko
