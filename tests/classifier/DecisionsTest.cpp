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

TEST_F(ClassifierTest, DecisionShowsTheNextPhotoAndCounts) {
    loadPhotos({"a.jpg", "b.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
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

// How a Yes on a.jpg comes to fail, and the reason the notice must give.
enum class Obstacle { nameTaken, readOnlyFolder, fileWhereTheSubfolderGoes, photoGone, other };
struct FailureCase {
    Obstacle obstacle;
    FileProblem problem;
};

class FailedDecision : public ClassifierTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void arrange(Obstacle obstacle) {
        switch (obstacle) {
            case Obstacle::nameTaken:
                disk->addFile(folder / "Discarded/a.jpg");
                break;
            case Obstacle::readOnlyFolder:
                fileSystem->fail(Op::createDirectories);
                break;
            case Obstacle::fileWhereTheSubfolderGoes:
                disk->addFile(folder / "Discarded");
                break;
            case Obstacle::photoGone:
                disk->remove(folder / "a.jpg");
                break;
            case Obstacle::other:
                fileSystem->fail(Op::move, FileProblem::other);
                break;
        }
    }
};

// A No whose move does not happen is no decision: everything stays as it was but for a
// notice that names the photo and why, and the next operation clears it.
TEST_P(FailedDecision, ChangesNothingButANotice) {
    loadPhotos({"0.jpg", "a.jpg", "b.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    const MoveRecord earlier = *classifier->lastMoved();
    arrange(GetParam().obstacle);
    watch();

    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(queueNames(), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(classifier->progress(), 1);
    EXPECT_TRUE(classifier->canUndo());
    EXPECT_EQ(classifier->lastMoved(), earlier);
    ASSERT_TRUE(classifier->notice());
    EXPECT_EQ(classifier->notice()->step, Notice::Step::decide);
    EXPECT_EQ(classifier->notice()->fileName, "a.jpg");
    EXPECT_EQ(classifier->notice()->folder, "Discarded");
    EXPECT_EQ(classifier->notice()->error.problem, GetParam().problem);
    EXPECT_TRUE(disk->isFile(folder / "Selected/0.jpg"));

    classifier->skipCurrent();
    EXPECT_FALSE(classifier->notice());
}

INSTANTIATE_TEST_SUITE_P(
    Each, FailedDecision,
    ::testing::Values(FailureCase{Obstacle::nameTaken, FileProblem::nameTaken},
                      FailureCase{Obstacle::readOnlyFolder, FileProblem::notWritable},
                      FailureCase{Obstacle::fileWhereTheSubfolderGoes, FileProblem::other},
                      FailureCase{Obstacle::photoGone, FileProblem::missing},
                      FailureCase{Obstacle::other, FileProblem::other}));

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
