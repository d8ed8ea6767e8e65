#include <gtest/gtest.h>
#include <unistd.h>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace vesko {
namespace {

TEST(PosixFileSystem, ListsOneLevelInTheDirectorysOwnOrderWithOddNames) {
    TempFolder folder;
    for (const char* name : {"b.jpg", "a.jpg", "C D.JPG", "\xff\xfe.jpg", ".hidden", "z.heic"}) {
        folder.write(name, "x");
    }
    std::filesystem::create_directory(folder.path() / "trip.jpg");
    folder.write("trip.jpg/inside.jpg", "x");
    std::filesystem::create_symlink("/etc/hostname", folder.path() / "IMG_1.CR3");
    std::vector<FolderEntry> expected;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const EntryType type = entry.is_symlink()     ? EntryType::link
                               : entry.is_directory() ? EntryType::folder
                                                      : EntryType::file;
        expected.push_back({entry.path().native(), type});
    }
    EXPECT_EQ(PosixFileSystem().list(folder.path()), expected);
    EXPECT_EQ(expected.size(), 8u);
    EXPECT_FALSE(PosixFileSystem().list(folder.path() / "nowhere"));
    EXPECT_FALSE(PosixFileSystem().list(folder.path() / "b.jpg"));
}

TEST(PosixFileSystem, KindTellsFilesFromFoldersAndFollowsSymbolicLinks) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "real");
    std::filesystem::create_directory_symlink(folder.path() / "real", folder.path() / "link");
    std::filesystem::create_symlink(folder.path() / "gone", folder.path() / "dangling");
    PosixFileSystem fs;
    EXPECT_TRUE(fs.kindOf(folder.path() / "link").isDirectory);
    EXPECT_FALSE(fs.kindOf(folder.write("a.jpg", "x")).isDirectory);
    EXPECT_FALSE(fs.kindOf(folder.path() / "dangling").exists);
    EXPECT_FALSE(fs.kindOf(folder.path() / "real" / "none").exists);
}

TEST(PosixFileSystem, LinkFallbackRefusesFoldersInsteadOfRiskingAReplace) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "trip.jpg");
    std::filesystem::create_directories(folder.path() / "Selected");
    EXPECT_EQ(PosixFileSystem(PosixFileSystem::MoveMethod::linkThenUnlink)
                  .move(folder.path() / "trip.jpg", folder.path() / "Selected" / "trip.jpg")
                  .cause,
              std::make_error_code(std::errc::operation_not_supported));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "trip.jpg"));
    // The plain way moves a folder, still without replacing.
    EXPECT_FALSE(PosixFileSystem().move(folder.path() / "trip.jpg",
                                        folder.path() / "Selected" / "trip.jpg"));
}

// Root reads and writes anywhere, so a read-only folder is met there by its errors alone.
TEST(PosixFileSystem, PermissionErrorsMeanTheFolderCannotBeReadOrWritten) {
    for (const int error : {EACCES, EPERM, EROFS}) {
        EXPECT_EQ(fileErrorFrom({error, std::generic_category()}).problem,
                  FileProblem::notWritable);
    }
    if (::geteuid() != 0) {  // root reads and writes every folder
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "locked");
        std::filesystem::permissions(folder.path() / "locked", std::filesystem::perms::none);
        EXPECT_FALSE(PosixFileSystem().list(folder.path() / "locked"));
        const auto photo = folder.write("a.jpg", "pixels");
        std::filesystem::create_directory(folder.path() / "Selected");
        std::filesystem::permissions(
            folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_EQ(PosixFileSystem().move(photo, folder.path() / "Selected" / "a.jpg").problem,
                  FileProblem::notWritable);
        std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
        std::filesystem::permissions(folder.path() / "locked", std::filesystem::perms::owner_all);
    }
}

}  // namespace
}  // namespace vesko
