#include <gtest/gtest.h>

#include <memory>

#include "TempFolder.h"
#include "platform/fakes/InMemoryFileSystem.h"
#include "platform/posix/PosixFileSystem.h"

namespace vesko {
namespace {

// What the classifier relies on, checked against the real file system (both ways of moving)
// and against the in-memory fake the classifier's tests use.
struct Subject {
    virtual ~Subject() = default;
    virtual FileSystem& fs() = 0;
    virtual std::filesystem::path root() = 0;
    virtual void addFile(const std::filesystem::path& path) = 0;
};

struct RealSubject : Subject {
    explicit RealSubject(PosixFileSystem::MoveMethod method) : real(method) {}
    FileSystem& fs() override { return real; }
    std::filesystem::path root() override { return folder.path(); }
    void addFile(const std::filesystem::path& path) override {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << path.native();
    }
    TempFolder folder;
    PosixFileSystem real;
};

struct MemorySubject : Subject {
    FileSystem& fs() override { return memory; }
    std::filesystem::path root() override { return "/t"; }
    void addFile(const std::filesystem::path& path) override { memory.addFile(path); }
    InMemoryFileSystem memory;
};

enum class Kind { rename, linkFallback, memory };

class FileSystemContract : public ::testing::TestWithParam<Kind> {
protected:
    FileSystemContract() {
        switch (GetParam()) {
            case Kind::rename:
                subject =
                    std::make_unique<RealSubject>(PosixFileSystem::MoveMethod::noReplaceRename);
                break;
            case Kind::linkFallback:
                subject =
                    std::make_unique<RealSubject>(PosixFileSystem::MoveMethod::linkThenUnlink);
                break;
            case Kind::memory:
                subject = std::make_unique<MemorySubject>();
                subject->fs().createDirectories(subject->root());
        }
        root = subject->root();
    }

    FileSystem& fs() { return subject->fs(); }

    std::unique_ptr<Subject> subject;
    std::filesystem::path root;
};

TEST_P(FileSystemContract, MoveNeverReplacesAndLeavesBothPathsOnFailure) {
    subject->addFile(root / "a.jpg");
    subject->addFile(root / "Selected" / "a.jpg");
    EXPECT_EQ(fs().move(root / "a.jpg", root / "Selected" / "a.jpg").problem,
              FileProblem::nameTaken);
    EXPECT_TRUE(fs().kindOf(root / "a.jpg").exists);
    EXPECT_TRUE(fs().kindOf(root / "Selected" / "a.jpg").exists);
    if (dynamic_cast<RealSubject*>(subject.get())) {
        EXPECT_EQ(TempFolder::read(root / "Selected" / "a.jpg"),
                  (root / "Selected" / "a.jpg").native());
    }
}

// A vanished photo and a vanished destination folder are told apart: only the first means
// the photo is gone.
TEST_P(FileSystemContract, MoveMovesAndTellsAMissingSourceFromAMissingFolder) {
    subject->addFile(root / "b c.JPG");
    fs().createDirectories(root / "Discarded");
    EXPECT_FALSE(fs().move(root / "b c.JPG", root / "Discarded" / "b c.JPG"));
    EXPECT_FALSE(fs().kindOf(root / "b c.JPG").exists);
    EXPECT_TRUE(fs().kindOf(root / "Discarded" / "b c.JPG").exists);
    EXPECT_EQ(fs().move(root / "b c.JPG", root / "Discarded" / "again.jpg").problem,
              FileProblem::missing);
    EXPECT_EQ(fs().move(root / "Discarded" / "b c.JPG", root / "missing" / "b c.JPG").problem,
              FileProblem::other);
    EXPECT_TRUE(fs().kindOf(root / "Discarded" / "b c.JPG").exists);
}

TEST_P(FileSystemContract, CreatingFoldersMakesParentsAndAcceptsExistingOnes) {
    subject->addFile(root / "Selected" / "kept.jpg");
    EXPECT_FALSE(fs().createDirectories(root / "Selected"));
    EXPECT_TRUE(fs().kindOf(root / "Selected" / "kept.jpg").exists);
    EXPECT_FALSE(fs().createDirectories(root / "x" / "y"));
    EXPECT_TRUE(fs().kindOf(root / "x" / "y").isDirectory);
    subject->addFile(root / "file");
    EXPECT_EQ(fs().createDirectories(root / "file").problem, FileProblem::nameTaken);
    EXPECT_EQ(fs().createDirectories(root / "file" / "sub").problem, FileProblem::nameTaken);
}

TEST_P(FileSystemContract, ListsOneLevelWithHiddenEntriesAndFolders) {
    subject->addFile(root / ".hidden.jpg");
    subject->addFile(root / "trip.jpg" / "inside.jpg");
    subject->addFile(root / "top.png");
    const auto listed = fs().list(root);
    ASSERT_TRUE(listed);
    std::vector<std::string> entries;
    for (const FolderEntry& entry : *listed) {
        entries.push_back(entry.path);
    }
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{root / ".hidden.jpg", root / "top.png",
                                                 root / "trip.jpg"}));
    EXPECT_FALSE(fs().list(root / "nowhere"));
    EXPECT_FALSE(fs().list(root / "top.png"));
}

INSTANTIATE_TEST_SUITE_P(Each, FileSystemContract,
                         ::testing::Values(Kind::rename, Kind::linkFallback, Kind::memory));

}  // namespace
}  // namespace vesko
