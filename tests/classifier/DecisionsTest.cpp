#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Op = FailingFileSystem::Operation;

TEST_F(ClassifierTest, YesAndNoMoveIntoSubfoldersMadeOnDemandKeepingTheName) {
    loadPhotos({"beach.HEIC", "b.JPG", "c.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Selected" / "beach.HEIC"));
    EXPECT_FALSE(disk->kindOf(folder / "beach.HEIC").exists);
    EXPECT_EQ(classifier->lastMoved(),
              (MoveRecord{folder / "beach.HEIC", folder / "Selected" / "beach.HEIC"}));

    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Discarded" / "b.JPG"));
    classifier->undoLast();
    classifier->classifyCurrent(kDiscardedFolder);  // the existing subfolder is reused
    EXPECT_TRUE(disk->isFile(folder / "Discarded" / "b.JPG"));
    EXPECT_EQ(classifier->progress(), 2);
    EXPECT_EQ(queueNames(), (Names{"c.jpg"}));
}

TEST_F(ClassifierTest, DecisionAnnouncesProgressThenUndoThenThePresentation) {
    loadPhotos({"a.jpg", "b.jpg"});
    watch();
    classifier->classifyCurrent(kSelectedFolder);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0], (Snapshot{true, 2, false, "photos", "a.jpg", 0, 2, false}));
    EXPECT_EQ(events[1].progress, 1);
    EXPECT_FALSE(events[1].canUndo);
    EXPECT_TRUE(events[2].canUndo);
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{true, 1, false, "photos", "b.jpg", 1, 2, true}));
}

TEST_F(ClassifierTest, DecisionsWithoutAFolderOrPhotoDoNothing) {
    watch();
    classifier->classifyCurrent(kSelectedFolder);
    classifier->skipCurrent();
    loadPhotos({});
    events.clear();
    classifier->classifyCurrent(kSelectedFolder);
    classifier->skipCurrent();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(fileSystem->calls(Op::move), 0);
}

TEST_F(ClassifierTest, SubfolderNameMustStayInsideTheChosenFolder) {
    loadPhotos({"a.jpg"});
    for (const std::string_view bad : std::initializer_list<std::string_view>{
             "", ".", "..", "../x", "a/b", std::string_view("a\0b", 3)}) {
        classifier->classifyCurrent(bad);
    }
    EXPECT_EQ(fileSystem->calls(Op::createDirectories), 0);
    EXPECT_EQ(queueNames(), (Names{"a.jpg"}));
}

TEST_F(ClassifierTest, ExistingFileInTheSubfolderIsNeverReplaced) {
    loadPhotos({"a.jpg", "b.jpg"});
    disk->addFile(folder / "Selected" / "a.jpg");
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_TRUE(disk->isFile(folder / "a.jpg"));
    EXPECT_TRUE(disk->isFile(folder / "Selected" / "a.jpg"));
    // The decision still counts, as after a move.
    EXPECT_EQ(queueNames(), (Names{"b.jpg"}));
    EXPECT_EQ(classifier->progress(), 1);
    EXPECT_TRUE(classifier->canUndo());
    EXPECT_EQ(classifier->lastMoved()->destination, folder / "Selected" / "a.jpg");
}

TEST_F(ClassifierTest, FailedFolderCreationStillTriesTheMove) {
    loadPhotos({"a.jpg"});
    disk->addFolder(folder / "Selected");
    fileSystem->fail(Op::createDirectories);
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(fileSystem->calls(Op::move), 1);
    EXPECT_TRUE(disk->isFile(folder / "Selected" / "a.jpg"));
}

TEST_F(ClassifierTest, MaybeRotatesTheQueueAndTurnsOffUndo) {
    loadPhotos({"A.jpg", "B.jpg", "C.jpg", "D.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    classifier->skipCurrent();
    EXPECT_EQ(queueNames(), (Names{"C.jpg", "D.jpg", "B.jpg"}));
    classifier->skipCurrent();
    classifier->skipCurrent();
    EXPECT_EQ(queueNames(), (Names{"B.jpg", "C.jpg", "D.jpg"}));
    EXPECT_EQ(classifier->progress(), 1);
    EXPECT_FALSE(classifier->canUndo());
    EXPECT_EQ(classifier->lastMoved()->file, folder / "A.jpg");
    EXPECT_EQ(fileSystem->calls(Op::move), 1);
}

}  // namespace
}  // namespace vesko
