#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;

// The panes by file name, the chosen one in brackets; empty in the single view.
std::string panesOf(const PhotoViewModel& classifier) {
    std::string shown;
    if (!classifier.comparison()) return shown;
    const Comparison& comparison = *classifier.comparison();
    for (std::size_t i = 0; i < comparison.panes.size(); ++i) {
        const std::string& name = comparison.panes[i].fileName;
        shown += i == comparison.chosen ? "[" + name + "]" : name;
        shown += i + 1 < comparison.panes.size() ? " " : "";
    }
    return shown;
}

// The chosen pane's photo is the one answered, undone and put back in its pane; a failed
// move changes nothing but the notice; with one pane left the single view returns.
TEST_F(ClassifierTest, AnswersInACompareGoToTheChosenPane) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        captureReader->facts[folder / name] = {.captureTime = "2026:11:28 14:03:59"};
    }
    loadPhotos({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    mainThread->drain();
    classifier->compare(3);
    EXPECT_EQ(panesOf(*classifier), "[a.jpg] b.jpg c.jpg");
    classifier->choosePane(1);
    EXPECT_EQ(classifier->currentBurst(), (BurstPlace{2, 4}));
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Selected/b.jpg"));
    EXPECT_EQ(panesOf(*classifier), "a.jpg [d.jpg] c.jpg");

    fileSystem->fail(FailingFileSystem::Operation::move);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(classifier->notice());
    EXPECT_EQ(panesOf(*classifier), "a.jpg [d.jpg] c.jpg");
    fileSystem->heal(FailingFileSystem::Operation::move);

    classifier->undoLast();
    EXPECT_EQ(panesOf(*classifier), "a.jpg [b.jpg] c.jpg");
    EXPECT_EQ(queueNames(), (Names{"b.jpg", "a.jpg", "c.jpg", "d.jpg", "e.jpg"}));
    classifier->choosePane(0);
    classifier->skipCurrent();
    EXPECT_EQ(panesOf(*classifier), "[d.jpg] b.jpg c.jpg");
    disk->remove(folder / "c.jpg");  // behind Vesko's back: skipped once its pane is shown again
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_EQ(panesOf(*classifier), "");
    EXPECT_EQ(classifier->notice()->fileName, "c.jpg");
    EXPECT_EQ(classifier->total(), 4);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_EQ(queueNames(), (Names{"e.jpg", "a.jpg"}));
}

// A folder that is one burst starts at its first frame.
TEST_F(ClassifierTest, AFolderThatIsOneBurstStartsAtItsFirstFrame) {
    for (const char* name : {"a.jpg", "b.jpg"}) {
        captureReader->facts[folder / name] = {.captureTime = "2026:11:28 14:03:59"};
    }
    loadPhotos({"a.jpg", "b.jpg"});
    mainThread->drain();
    EXPECT_EQ(classifier->currentBurst(), (BurstPlace{1, 2}));
}

}  // namespace
}  // namespace vesko
