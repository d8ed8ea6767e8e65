#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Op = FailingFileSystem::Operation;

TEST_F(ClassifierTest, UndoMovesThePhotoBackInFrontOfTheCurrentOne) {
    loadPhotos({"a.jpg", "b.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    watch();
    classifier->undoLast();
    EXPECT_TRUE(disk->isFile(folder / "a.jpg"));
    EXPECT_FALSE(disk->kindOf(folder / "Selected" / "a.jpg").exists);
    EXPECT_TRUE(disk->kindOf(folder / "Selected").isDirectory);
    EXPECT_EQ(queueNames(), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{true, 2, false, "photos", "a.jpg", 0, 2, false}));

    events.clear();
    classifier->undoLast();
    EXPECT_TRUE(events.empty());
}

TEST_F(ClassifierTest, TheLastAnswerFinishesAndCanStillBeUndone) {
    loadPhotos({"a.jpg", "b.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    classifier->skipCurrent();
    classifier->undoLast();  // the record outlives Maybe, though the window hides Undo
    EXPECT_EQ(queueNames(), (Names{"a.jpg", "b.jpg"}));

    classifier->classifyCurrent(kDiscardedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{false, 1, true, "photos", {}, 2, 2, true}));
    EXPECT_EQ(classifier->state(), ClassifierState::Finished);
    EXPECT_EQ(desktop->shown, std::vector<std::filesystem::path>{folder});
    EXPECT_EQ(decoder->hints().back(), std::vector<std::string>{});
    classifier->undoLast();  // from "Done!", which it takes back
    EXPECT_EQ(queueNames(), (Names{"b.jpg"}));
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{true, 1, false, "photos", "b.jpg", 1, 2, false}));
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(desktop->shown.size(), 2u);
}

// A reload queues what is still in the folder and counts from zero; it keeps the last move,
// whose Undo never takes progress below zero.
TEST_F(ClassifierTest, ReloadQueuesWhatIsLeftAndUndoStaysAtZero) {
    loadPhotos({"a.jpg", "b.jpg", "c.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    classifier->loadFolder(folder);
    EXPECT_EQ(queueNames(), (Names{"c.jpg"}));
    EXPECT_EQ(classifier->total(), 1);
    classifier->undoLast();
    EXPECT_EQ(classifier->progress(), 0);
    EXPECT_EQ(queueNames(), (Names{"b.jpg", "c.jpg"}));
}

TEST_F(ClassifierTest, ResetClearsAllButRemainingAndTouchesNoFile) {
    loadPhotos({"a.jpg", "b.jpg", "c.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    classifier->reset();
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{false, 2, false, {}, {}, 0, 0, false}));
    EXPECT_EQ(classifier->state(), ClassifierState::Start);
    EXPECT_TRUE(classifier->queue().empty());
    EXPECT_FALSE(classifier->sourceFolder());
    EXPECT_FALSE(classifier->lastMoved());
    EXPECT_EQ(fileSystem->calls(Op::move), 1);
    EXPECT_TRUE(disk->isFile(folder / "Selected" / "a.jpg"));
    EXPECT_TRUE(disk->isFile(folder / "b.jpg"));
}

}  // namespace
}  // namespace vesko
