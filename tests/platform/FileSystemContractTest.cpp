#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "TempFolder.h"
#include "platform/fakes/InMemoryFileSystem.h"
#include "platform/posix/PosixFileSystem.h"

namespace vesko {
namespace {

enum class Kind { rename, linkFallback, memory };

// What the classifier relies on, checked against the real file system (both ways of moving)
// and against the in-memory fake the classifier's tests use.
class FileSystemContract : public ::testing::TestWithParam<Kind> {
protected:
    FileSystemContract() {
        if (GetParam() == Kind::memory) {
            fileSystem = memory;
            root = "/t";
            memory->addFolder(root);
        } else {
            fileSystem = std::make_shared<PosixFileSystem>(
                GetParam() == Kind::rename ? PosixFileSystem::MoveMethod::noReplaceRename
                                           : PosixFileSystem::MoveMethod::linkThenUnlink);
            root = folder.path();
        }
    }

    FileSystem& fs() { return *fileSystem; }
    // A file whose contents are its own path.
    void addFile(const std::filesystem::path& path) {
        if (GetParam() == Kind::memory) return memory->addFile(path);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << path.native();
    }

    TempFolder folder;
    std::shared_ptr<InMemoryFileSystem> memory = std::make_shared<InMemoryFileSystem>();
    std::shared_ptr<FileSystem> fileSystem;
    std::filesystem::path root;
};

TEST_P(FileSystemContract, MoveNeverReplacesAndLeavesBothPathsOnFailure) {
    addFile(root / "a.jpg");
    addFile(root / "Selected" / "a.jpg");
    EXPECT_EQ(fs().move(root / "a.jpg", root / "Selected" / "a.jpg").problem,
              FileProblem::nameTaken);
    EXPECT_TRUE(fs().kindOf(root / "a.jpg").exists);
    EXPECT_TRUE(fs().kindOf(root / "Selected" / "a.jpg").exists);
    if (GetParam() != Kind::memory) {
        EXPECT_EQ(TempFolder::read(root / "Selected" / "a.jpg"),
                  (root / "Selected" / "a.jpg").native());
    }
}

// A vanished photo and a vanished destination folder are told apart: only the first means
// the photo is gone.
TEST_P(FileSystemContract, MoveMovesAndTellsAMissingSourceFromAMissingFolder) {
    addFile(root / "b c.JPG");
    fs().createDirectories(root / "Discarded");
    EXPECT_FALSE(fs().move(root / "b c.JPG", root / "Discarded" / "b c.JPG"));
    EXPECT_FALSE(fs().kindOf(root / "b c.JPG").exists);
    EXPECT_TRUE(fs().kindOf(root / "Discarded" / "b c.JPG").exists);
    EXPECT_EQ(fs().move(root / "b c.JPG", root / "Discarded" / "again.jpg").problem,
              FileProblem::missing);
    EXPECT_EQ(fs().move(root / "Discarded" / "b c.JPG", root / "missing" / "b c.JPG").problem,
              FileProblem::other);
    EXPECT_TRUE(fs().kindOf(root / "Discarded" / "b c.JPG").exists);
    // Gone means nothing of the name is left: a folder named like a photo is there.
    EXPECT_TRUE(fs().isGone(root / "b c.JPG") && !fs().isGone(root / "Discarded"));
    if (GetParam() != Kind::memory) {  // a link to a RAW elsewhere moves as the link
        std::filesystem::create_symlink(root / "Discarded" / "b c.JPG", root / "\xff.CR3");
        EXPECT_FALSE(fs().move(root / "\xff.CR3", root / "Discarded" / "\xff.CR3"));
        EXPECT_EQ(std::filesystem::read_symlink(root / "Discarded" / "\xff.CR3"),
                  root / "Discarded" / "b c.JPG");
    }
}

// A subfolder that is a link is never followed, either way; a file left under both names by a
// move by linking cut short loses its old name.
TEST_P(FileSystemContract, MoveFollowsNoLinkedSubfolderAndCompletesAMoveByLinking) {
    addFile(root / "a.jpg");
    addFile(root / "Selected" / "b.jpg");
    addFile(root / "c.jpg");
    fs().createDirectories(root / "Discarded");
    if (GetParam() == Kind::memory) {
        memory->makeFolderLink(root / "Selected");
        memory->addHardLink(root / "c.jpg", root / "Discarded" / "c.jpg");
    } else {
        std::filesystem::rename(root / "Selected", root / "elsewhere");
        std::filesystem::create_directory_symlink(root / "elsewhere", root / "Selected");
        std::filesystem::create_hard_link(root / "c.jpg", root / "Discarded" / "c.jpg");
    }
    EXPECT_EQ(fs().move(root / "a.jpg", root / "Selected" / "a.jpg").problem,
              FileProblem::linkedFolder);
    EXPECT_EQ(fs().move(root / "Selected" / "b.jpg", root / "b.jpg").problem,
              FileProblem::linkedFolder);
    EXPECT_TRUE(fs().kindOf(root / "a.jpg").exists);
    EXPECT_FALSE(fs().kindOf(root / "b.jpg").exists);

    const auto key = fs().keyOf(root / "c.jpg");
    EXPECT_FALSE(fs().move(root / "c.jpg", root / "Discarded" / "c.jpg"));
    EXPECT_FALSE(fs().kindOf(root / "c.jpg").exists);
    EXPECT_EQ(fs().keyOf(root / "Discarded" / "c.jpg"), key);
}

TEST_P(FileSystemContract, CreatingFoldersMakesParentsAndAcceptsExistingOnes) {
    addFile(root / "Selected" / "kept.jpg");
    EXPECT_FALSE(fs().createDirectories(root / "Selected"));
    EXPECT_TRUE(fs().kindOf(root / "Selected" / "kept.jpg").exists);
    EXPECT_FALSE(fs().createDirectories(root / "x" / "y"));
    EXPECT_TRUE(fs().kindOf(root / "x" / "y").isDirectory);
    addFile(root / "file");
    EXPECT_EQ(fs().createDirectories(root / "file").problem, FileProblem::nameTaken);
    EXPECT_EQ(fs().createDirectories(root / "file" / "sub").problem, FileProblem::nameTaken);
}

std::string nameOf(const ::testing::TestParamInfo<Kind>& kind) {
    return std::array{"rename", "linkFallback", "memory"}[kind.index];
}

INSTANTIATE_TEST_SUITE_P(Each, FileSystemContract,
                         ::testing::Values(Kind::rename, Kind::linkFallback, Kind::memory), nameOf);

}  // namespace
}  // namespace vesko
