#include "ClassifierFixture.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/platform/TempFolder.h"

namespace vesko {
namespace {

// The classifier on a real folder: files move, come back, and are never replaced.
class RealFolder : public ::testing::Test {
protected:
    RealFolder() {
        auto fs = std::make_shared<PosixFileSystem>();
        classifier = PhotoViewModel::create(
            {fs, std::make_shared<FakeImageDecoder>(fs), std::make_shared<ScriptedFolderChooser>(),
             std::make_shared<RecordingDesktop>(), std::make_shared<QueuedMainThread>()});
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

TEST_F(RealFolder, NameClashLeavesBothFilesAsTheyWere) {
    folder.write("a.jpg", "new");
    std::filesystem::create_directory(at("Selected"));
    folder.write("Selected/a.jpg", "old");
    classifier->loadFolder(folder.path());
    classifier->classifyCurrent(kSelectedFolder);
    classifier->undoLast();
    EXPECT_EQ(TempFolder::read(at("a.jpg")), "new");
    EXPECT_EQ(TempFolder::read(at("Selected/a.jpg")), "old");
    EXPECT_EQ(classifier->currentFileName(), "a.jpg");
    EXPECT_TRUE(classifier->currentImage());
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
