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

// A No or an Undo whose move does not happen is no decision: everything stays as it was but
// for a notice that names the file and why, and the next operation clears it. A group blocked
// at any of its files is moved back whole. Each case starts with 0.jpg answered Yes and the
// shot a.jpg, a.CR3, a.xmp current, answered No first for Undo.
TEST_F(ClassifierTest, FailedMoveChangesNothingButANotice) {
    const struct {
        const char* obstacle;
        bool undo;
        std::function<void()> arrange;
        FileProblem problem;
        const char* file;  // named in the notice
    } cases[] = {
        {"name taken", false, [&] { disk->addFile(folder / "Discarded/a.jpg"); },
         FileProblem::nameTaken, "a.jpg"},
        {"read-only folder", false, [&] { fileSystem->fail(Op::createDirectories); },
         FileProblem::notWritable, "a.jpg"},
        {"a file where the subfolder goes", false, [&] { disk->addFile(folder / "Discarded"); },
         FileProblem::other, "a.jpg"},
        {"a link where the subfolder goes", false,
         [&] { disk->makeFolderLink(folder / "Discarded"); }, FileProblem::linkedFolder, "a.jpg"},
        {"other", false, [&] { fileSystem->fail(Op::move, FileProblem::other); },
         FileProblem::other, "a.jpg"},
        {"the RAW", false, [&] { fileSystem->failMoveNumber(2); }, FileProblem::notWritable,
         "a.CR3"},
        {"the sidecar", false, [&] { fileSystem->failMoveNumber(3); }, FileProblem::notWritable,
         "a.xmp"},
        {"undo: a new file at the old name", true, [&] { disk->addFile(folder / "a.jpg"); },
         FileProblem::nameTaken, "a.jpg"},
        {"undo: the photo gone", true, [&] { disk->remove(folder / "Discarded/a.jpg"); },
         FileProblem::missing, "a.jpg"},
        {"undo: read-only folder", true, [&] { fileSystem->fail(Op::move); },
         FileProblem::notWritable, "a.jpg"},
        {"undo: the subfolder made a link", true,
         [&] { disk->makeFolderLink(folder / "Discarded"); }, FileProblem::linkedFolder, "a.jpg"},
        {"undo: the RAW", true, [&] { fileSystem->failMoveNumber(2); }, FileProblem::notWritable,
         "a.CR3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.obstacle);
        disk->remove(folder);
        loadPhotos({"0.jpg", "a.jpg", "a.CR3", "a.xmp", "b.jpg"});
        classifier->classifyCurrent(kSelectedFolder);
        if (c.undo) classifier->classifyCurrent(kDiscardedFolder);
        const MoveRecord earlier = *classifier->lastMoved();
        c.arrange();
        events.clear();
        watch();

        c.undo ? classifier->undoLast() : classifier->classifyCurrent(kDiscardedFolder);
        EXPECT_EQ(events.size(), 1u);
        EXPECT_EQ(queueNames(), c.undo ? Names{"b.jpg"} : (Names{"a.jpg", "b.jpg"}));
        EXPECT_EQ(classifier->progress(), c.undo ? 2 : 1);
        EXPECT_TRUE(classifier->canUndo());
        EXPECT_EQ(classifier->lastMoved(), earlier);
        ASSERT_TRUE(classifier->notice());
        EXPECT_EQ(classifier->notice()->step, c.undo ? Notice::Step::undo : Notice::Step::decide);
        EXPECT_EQ(classifier->notice()->fileName, c.file);
        // A link is named by the subfolder it stands for.
        EXPECT_EQ(classifier->notice()->folder,
                  c.undo && c.problem != FileProblem::linkedFolder ? "photos" : "Discarded");
        EXPECT_EQ(classifier->notice()->error.problem, c.problem);
        const auto where = c.undo ? folder / "Discarded" : folder;
        EXPECT_NE(disk->isFile(where / "a.jpg"), c.problem == FileProblem::missing);
        EXPECT_TRUE(disk->isFile(where / "a.CR3") && disk->isFile(where / "a.xmp"));
        EXPECT_TRUE(disk->isFile(folder / "Selected/0.jpg"));

        classifier->skipCurrent();
        EXPECT_FALSE(classifier->notice());
        fileSystem->heal(Op::createDirectories);
        fileSystem->heal(Op::move);
    }
}

}  // namespace
}  // namespace vesko
