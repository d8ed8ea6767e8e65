#include "ClassifierFixture.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/platform/TempFolder.h"

#include <unistd.h>

namespace vesko {
namespace {

// The classifier on a real folder: files move, come back, and are never replaced.
class RealFolder : public ::testing::Test {
protected:
    RealFolder() {
        auto fs = std::make_shared<PosixFileSystem>();
        classifier = PhotoViewModel::create(
            {fs, std::make_shared<FakeImageDecoder>(fs), std::make_shared<ScriptedFolderChooser>(),
             std::make_shared<RecordingDesktop>(), std::make_shared<QueuedMainThread>(),
             std::make_shared<MemoryPreferences>()});
    }
    std::filesystem::path at(const std::string& name) const { return folder.path() / name; }

    TempFolder folder;
    std::shared_ptr<PhotoViewModel> classifier;
};

TEST_F(RealFolder, DecisionsAndUndoMoveOddlyNamedFiles) {
    const std::string odd = "\xff\xfe Holiday.JPG";
    folder.write(odd, "odd");
    folder.write("two words.jpeg", "two");
    classifier->loadFolder(folder.path());
    ASSERT_EQ(classifier->total(), 2);
    const std::string first = *classifier->currentFileName();
    const std::string second = first == odd ? "two words.jpeg" : odd;

    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_EQ(TempFolder::read(at("Discarded/" + first)), first == odd ? "odd" : "two");
    classifier->undoLast();
    EXPECT_TRUE(std::filesystem::exists(at(first)));
    EXPECT_TRUE(std::filesystem::is_empty(at("Discarded")));

    classifier->classifyCurrent(kSelectedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(std::filesystem::exists(at("Selected/" + first)));
    EXPECT_TRUE(std::filesystem::exists(at("Discarded/" + second)));
    EXPECT_TRUE(classifier->showFinished());
}

// A group blocked halfway by a name clash moves none of its files and replaces nothing; a
// RAW that is a link to a file elsewhere moves as the link.
TEST_F(RealFolder, AGroupMovesWholeOrNotAtAll) {
    TempFolder elsewhere;
    const auto raw = elsewhere.write("IMG_1.CR3", "raw");
    folder.write("IMG_1.JPG", "jpeg");
    std::filesystem::create_symlink(raw, at("IMG_1.CR3"));
    folder.write("IMG_1.xmp", "sidecar");
    std::filesystem::create_directory(at("Selected"));
    folder.write("Selected/IMG_1.xmp", "other");
    classifier->loadFolder(folder.path());

    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(classifier->notice()->fileName, "IMG_1.xmp");
    EXPECT_EQ(TempFolder::read(at("IMG_1.JPG")), "jpeg");
    EXPECT_TRUE(std::filesystem::is_symlink(at("IMG_1.CR3")));
    EXPECT_EQ(TempFolder::read(at("Selected/IMG_1.xmp")), "other");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(at("Selected")), {}), 1);

    std::filesystem::remove(at("Selected/IMG_1.xmp"));
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(TempFolder::read(at("Selected/IMG_1.xmp")), "sidecar");
    EXPECT_EQ(std::filesystem::read_symlink(at("Selected/IMG_1.CR3")), raw);
    EXPECT_EQ(TempFolder::read(raw), "raw");
    if (::geteuid() != 0) {  // root writes anywhere
        classifier->undoLast();
        std::filesystem::permissions(at("Selected"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        classifier->classifyCurrent(kSelectedFolder);
        EXPECT_EQ(classifier->notice()->error.problem, FileProblem::notWritable);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4);
    }
}

TEST_F(RealFolder, VanishedFolderCountsAsEmpty) {
    const auto gone = folder.path() / "gone";
    classifier->loadFolder(gone);
    EXPECT_EQ(classifier->folderName(), "gone");
    EXPECT_TRUE(classifier->showFinished());
    EXPECT_EQ(classifier->total(), 0);
}

}  // namespace
}  // namespace vesko
