#include <functional>

#include "ClassifierFixture.h"

namespace vesko {
namespace {

// A file that gives no picture is answered like any other, unless its RAW file has a preview:
// a damaged JPEG must not hide a good RAW.
TEST_F(ClassifierTest, HeadThatCannotBeDecodedIsShownByNameWithoutImage) {
    addPhotos({"a.jpg", "B.JPG", "c.jpg", "c.RW2"});
    decoder->markCorrupt(folder / "B.JPG");
    decoder->markCorrupt(folder / "c.jpg");
    classifier->loadFolder(folder);

    classifier->skipCurrent();
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{false, 3, false, "photos", "B.JPG", 0, 3, false}));
    EXPECT_EQ(classifier->imageProblem(), DecodeProblem::notAnImage);
    classifier->skipCurrent();
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{true, 3, false, "photos", "c.jpg", 0, 3, false}));
    EXPECT_TRUE(classifier->showsRawPreview());
    EXPECT_EQ(decoder->hints().back().front(), folder / "c.RW2");  // for the zoom
    classifier->skipCurrent();
    EXPECT_FALSE(classifier->showsRawPreview());
    EXPECT_EQ(classifier->imageProblem(), DecodeProblem::none);
    classifier->classifyCurrent(kSelectedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Discarded/c.RW2"));
}

// A photo deleted behind Vesko's back leaves the queue and the count once an answer or its
// presentation finds it gone, so that the folder can still be finished. It is no decision: the
// undo record stays the one before. Each case starts with 0.jpg answered Yes and a.jpg shown.
TEST_F(ClassifierTest, PhotoGoneFromTheFolderIsSkippedSoTheFolderFinishes) {
    using Names = std::vector<std::string>;
    const auto yes = [&] { classifier->classifyCurrent(kSelectedFolder); };
    const struct {
        const char* when;
        const char* gone;
        std::function<void()> act;
        Names queue;
        std::int64_t progress;
    } cases[] = {
        {"No on it", "a.jpg", [&] { classifier->classifyCurrent(kDiscardedFolder); }, {"b.jpg"}, 1},
        {"Maybe on it, then its turn", "a.jpg", [&] { classifier->skipCurrent(), yes(); }, {}, 2},
        {"its turn after a Yes", "b.jpg", yes, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        disk->remove(folder);
        loadPhotos({"0.jpg", "a.jpg", "b.jpg"});
        yes();
        disk->remove(folder / c.gone);

        c.act();
        EXPECT_EQ(queueNames(), c.queue);
        EXPECT_EQ(classifier->progress(), c.progress);
        EXPECT_EQ(classifier->total(), 2);
        EXPECT_EQ(classifier->currentFileName(),
                  c.queue.empty() ? std::nullopt : std::optional(c.queue.front()));
        EXPECT_EQ(classifier->showFinished(), c.queue.empty());
        ASSERT_TRUE(classifier->notice());
        EXPECT_EQ(classifier->notice()->step, Notice::Step::skip);
        EXPECT_EQ(classifier->notice()->fileName, c.gone);
        EXPECT_NE(classifier->lastMoved()->file, folder / c.gone);
    }
}

// A folder named like a photo is still there when its turn comes: no photo, but not gone.
TEST_F(ClassifierTest, FolderNamedLikeAPhotoIsAnsweredNotSkipped) {
    disk->addFolder(folder / "trip.jpg");
    loadPhotos({"a.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(classifier->currentFileName(), "trip.jpg");
    EXPECT_EQ(classifier->total(), 2);
    EXPECT_FALSE(classifier->notice());
}

// Each presentation names what the next answers and Undo will show; Back names nothing.
TEST_F(ClassifierTest, PresentationTellsTheDecoderWhatComesNext) {
    loadPhotos({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    classifier->classifyCurrent(kSelectedFolder);
    classifier->skipCurrent();
    classifier->undoLast();
    const auto a = folder / "a.jpg", b = folder / "b.jpg", c = folder / "c.jpg",
               d = folder / "d.jpg";
    using Hint = std::vector<std::string>;
    EXPECT_EQ(decoder->hints(),
              (std::vector<Hint>{{a, b, c}, {b, c, d, a}, {c, d, b, a}, {a, c, d}}));
    classifier->reset();
    EXPECT_EQ(decoder->hints().back(), Hint{});
}

// Each operation announces every field it sets, one at a time and before storing it, in an
// order of its own family. Every case but "load" starts from a loaded folder of `photos` and
// `yesFirst` Yes answers.
TEST_F(ClassifierTest, EachOperationAnnouncesItsFieldsInOrder) {
    using Names = std::vector<std::string>;
    const Names names{"a.jpg", "b.jpg", "c.jpg"};
    const auto load = [&] { classifier->loadFolder(folder); };
    const auto yes = [&] { classifier->classifyCurrent(kSelectedFolder); };
    const auto maybe = [&] { classifier->skipCurrent(); };
    const auto undo = [&] { classifier->undoLast(); };
    const auto reset = [&] { classifier->reset(); };
    const struct {
        std::string operation;
        int photos, yesFirst;
        std::function<void()> act;
        Names order;
    } cases[] = {
        {"load", 2, 0, load, {"folder", "total", "=", "image", "file", "remaining"}},
        {"Yes", 2, 0, yes, {"progress", "canUndo", "=", "file", "remaining"}},
        {"Yes on the last", 1, 0, yes, {"progress", "canUndo", "image", "file", "finished"}},
        {"Maybe", 3, 1, maybe, {"canUndo", "=", "file", "="}},
        {"Undo", 2, 1, undo, {"progress", "canUndo", "=", "file", "remaining"}},
        {"reset", 3, 1, reset, {"image", "file", "folder", "progress", "total", "canUndo", "="}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        classifier = PhotoViewModel::create(
            {fileSystem, decoder, chooser, desktop, mainThread, preferences});
        disk->remove(folder);
        disk->addFolder(folder);
        addPhotos(Names(names.begin(), names.begin() + c.photos));
        if (c.operation != "load") classifier->loadFolder(folder);
        for (int i = 0; i < c.yesFirst; ++i) yes();
        events.clear();
        watch();
        c.act();
        EXPECT_EQ(announced(), c.order);
    }
}

}  // namespace
}  // namespace vesko
