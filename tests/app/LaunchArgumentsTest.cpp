#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/LaunchArguments.h"
#include "platform/FileUrl.h"
#include "tests/platform/TempFolder.h"

namespace vesko {
namespace {

struct Case {
    const char* name;
    std::vector<std::string> arguments;  // after the program; "@" stands for the scratch folder
    std::optional<std::string> folder;   // inside the scratch folder
    std::optional<int> exitCode = std::nullopt;
    const char* notice = "";
    const char* standardError = "";   // what it contains
    const char* standardOutput = "";  // what it contains; empty: nothing
};

std::string expanded(std::string text, const std::string& root) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + root.size())) {
        text.replace(at, 1, root);
    }
    return text;
}

const std::string kOddName = "odd \n\xff name";

TEST(LaunchArgumentsTest, NamesTheFolderToOpenOrSaysWhyNot) {
    const TempFolder scratch;
    const std::string root = scratch.path().native();
    std::filesystem::create_directories(scratch.path() / "trip");
    std::filesystem::create_directories(scratch.path() / "My Photos");
    std::filesystem::create_directories(scratch.path() / kOddName);
    scratch.write("a.jpg", "not a folder");
    const std::string myPhotosUrl = fileUrlFromPath(scratch.path() / "My Photos") + "/";

    const Case cases[] = {
        {"no folder", {}, std::nullopt},
        {"a relative folder", {"./trip/"}, "trip"},
        {"a file URL", {myPhotosUrl}, "My Photos"},
        {"an odd name", {"@/" + kOddName}, kOddName},
        {"Qt's own options left to Qt",
         {"-platform", "xcb", "--reverse", "-style=fusion", "trip"},
         "trip"},
        {"two folders",
         {"@/trip", "My Photos"},
         "trip",
         std::nullopt,
         "",
         "vesko: Vesko opens one folder; ignored: “My Photos”\n"},
        {"a missing path",
         {"@/gone"},
         std::nullopt,
         std::nullopt,
         "There is no folder “@/gone”.",
         "vesko: There is no folder “@/gone”.\n"},
        {"a file",
         {"a.jpg"},
         std::nullopt,
         std::nullopt,
         "“a.jpg” is not a folder.",
         "is not a folder.\n"},
        {"an unknown option", {"--frobnicate", "trip"}, std::nullopt, 2, "", "Usage:"},
        {"help", {"--help"}, std::nullopt, 0, "", "", "file:// URL"},
        {"version", {"--version"}, std::nullopt, 0, "", "", "Vesko " VESKO_VERSION "\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::string> arguments{"vesko"};
        for (const std::string& argument : test.arguments) {
            arguments.push_back(expanded(argument, root));
        }
        const LaunchRequest request = readLaunchArguments(arguments, scratch.path());
        EXPECT_EQ(request.exitCode, test.exitCode);
        EXPECT_EQ(request.folder,
                  test.folder ? std::optional(root + "/" + *test.folder) : std::nullopt);
        EXPECT_EQ(request.notice.toStdString(), expanded(test.notice, root));
        EXPECT_TRUE(request.standardError.contains(
            QString::fromStdString(expanded(test.standardError, root))))
            << request.standardError.toStdString();
        EXPECT_EQ(request.standardError.count(QLatin1Char('\n')) <= 1, test.exitCode != 2);
        EXPECT_TRUE(request.standardOutput.contains(QString::fromUtf8(test.standardOutput)));
        EXPECT_EQ(request.standardOutput.isEmpty(), *test.standardOutput == '\0');
        if (!test.exitCode) continue;
        // The same from the program itself, with no display to connect to: no DISPLAY,
        // WAYLAND_DISPLAY or QT_QPA_PLATFORM, nor anything else.
        QStringList command{"-i", "LC_ALL=C.UTF-8", VESKO_PROGRAM};
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            command.append(QString::fromStdString(arguments[i]));
        }
        QProcess vesko;
        vesko.start(QStringLiteral("env"), command);
        ASSERT_TRUE(vesko.waitForFinished(30000));
        EXPECT_EQ(vesko.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(vesko.exitCode(), *test.exitCode);
        const QByteArray output = vesko.readAllStandardOutput();
        EXPECT_TRUE(output.contains(test.standardOutput));
        EXPECT_EQ(output.isEmpty(), *test.standardOutput == '\0');
        EXPECT_TRUE(vesko.readAllStandardError().contains(test.standardError));
    }
}

}  // namespace
}  // namespace vesko

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vesko"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESKO_VERSION));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
