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

// An Undo whose move back does not happen leaves the photo in its subfolder and everything
// else as it was, so that it can be tried again; the old path, which may now name another
// file, is never queued.
TEST_F(ClassifierTest, FailedUndoChangesNothingButANoticeAndCanBeRetried) {
    // A new file at the old name, the photo gone from the subfolder, a read-only folder, the
    // subfolder made a link.
    for (const FileProblem problem : {FileProblem::nameTaken, FileProblem::missing,
                                      FileProblem::notWritable, FileProblem::linkedFolder}) {
        SCOPED_TRACE(static_cast<int>(problem));
        disk->remove(folder);
        loadPhotos({"a.jpg", "b.jpg"});
        classifier->classifyCurrent(kSelectedFolder);
        const auto record = classifier->lastMoved();
        if (problem == FileProblem::nameTaken) disk->addFile(folder / "a.jpg");
        if (problem == FileProblem::missing) disk->remove(folder / "Selected/a.jpg");
        if (problem == FileProblem::notWritable) fileSystem->fail(Op::move);
        if (problem == FileProblem::linkedFolder) disk->makeFolderLink(folder / "Selected");

        classifier->undoLast();
        EXPECT_EQ(queueNames(), (Names{"b.jpg"}));
        EXPECT_EQ(classifier->progress(), 1);
        EXPECT_TRUE(classifier->canUndo());
        EXPECT_EQ(classifier->lastMoved(), record);
        ASSERT_TRUE(classifier->notice());
        EXPECT_EQ(classifier->notice()->step, Notice::Step::undo);
        EXPECT_EQ(classifier->notice()->folder,
                  problem == FileProblem::linkedFolder ? "Selected" : "photos");
        EXPECT_EQ(classifier->notice()->error.problem, problem);

        fileSystem->heal(Op::move);
        disk->remove(folder / "a.jpg");
        disk->remove(folder / "Selected");
        disk->addFile(folder / "Selected/a.jpg");
        classifier->undoLast();
        EXPECT_EQ(queueNames(), (Names{"a.jpg", "b.jpg"}));
        EXPECT_FALSE(classifier->notice());
    }
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
