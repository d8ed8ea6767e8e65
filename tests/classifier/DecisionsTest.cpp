#include <functional>

#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Op = FailingFileSystem::Operation;

TEST_F(ClassifierTest, YesAndNoMoveIntoSubfoldersMadeOnDemandKeepingTheName) {
    loadPhotos({"a.HEIC", "b.JPG", "c.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Selected" / "a.HEIC"));
    EXPECT_FALSE(disk->kindOf(folder / "a.HEIC").exists);
    EXPECT_EQ(classifier->lastMoved(),
              (MoveRecord{folder / "a.HEIC", folder / "Selected" / "a.HEIC"}));
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{true, 2, false, "photos", "b.JPG", 1, 3, true}));

    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Discarded" / "b.JPG"));
    classifier->undoLast();
    classifier->classifyCurrent(kDiscardedFolder);  // the existing subfolder is reused
    EXPECT_TRUE(disk->isFile(folder / "Discarded" / "b.JPG"));
    EXPECT_EQ(classifier->progress(), 2);
    EXPECT_EQ(queueNames(), (Names{"c.jpg"}));
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

// A No whose move does not happen is no decision: everything stays as it was but for a
// notice that names the photo and why, and the next operation clears it.
TEST_F(ClassifierTest, FailedDecisionChangesNothingButANotice) {
    const struct {
        const char* obstacle;
        std::function<void()> arrange;
        FileProblem problem;
    } cases[] = {
        {"name taken", [&] { disk->addFile(folder / "Discarded/a.jpg"); }, FileProblem::nameTaken},
        {"read-only folder", [&] { fileSystem->fail(Op::createDirectories); },
         FileProblem::notWritable},
        {"a file where the subfolder goes", [&] { disk->addFile(folder / "Discarded"); },
         FileProblem::other},
        {"a link where the subfolder goes", [&] { disk->makeFolderLink(folder / "Discarded"); },
         FileProblem::linkedFolder},
        {"other", [&] { fileSystem->fail(Op::move, FileProblem::other); }, FileProblem::other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.obstacle);
        disk->remove(folder);
        loadPhotos({"0.jpg", "a.jpg", "b.jpg"});
        classifier->classifyCurrent(kSelectedFolder);
        const MoveRecord earlier = *classifier->lastMoved();
        c.arrange();
        events.clear();
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
        EXPECT_EQ(classifier->notice()->error.problem, c.problem);
        EXPECT_TRUE(disk->isFile(folder / "Selected/0.jpg"));

        classifier->skipCurrent();
        EXPECT_FALSE(classifier->notice());
        fileSystem->heal(Op::createDirectories);
        fileSystem->heal(Op::move);
    }
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
