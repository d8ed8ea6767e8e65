#include "ClassifierFixture.h"

namespace vesko {
namespace {

TEST_F(ClassifierTest, MaybeOnTheOnlyPhotoReadsItsFileAgain) {
    loadPhotos({"only.jpg"});
    classifier->skipCurrent();
    EXPECT_EQ(decoder->decoded().size(), 2u);
    EXPECT_EQ(classifier->currentFileName(), "only.jpg");
    EXPECT_TRUE(classifier->currentImage());
    EXPECT_EQ(classifier->remaining(), 1);
}

TEST_F(ClassifierTest, HeadThatCannotBeDecodedIsShownByNameWithoutImage) {
    addPhotos({"a.jpg", "B.JPG", "c.jpg"});
    decoder->markCorrupt(folder / "B.JPG");
    classifier->loadFolder(folder);
    disk->remove(folder / "c.jpg");  // vanished after the listing

    classifier->skipCurrent();
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{false, 3, false, "photos", "B.JPG", 0, 3, false}));
    EXPECT_EQ(classifier->imageProblem(), DecodeProblem::notAnImage);
    classifier->skipCurrent();
    EXPECT_EQ(classifier->currentFileName(), "c.jpg");
    EXPECT_FALSE(classifier->currentImage());
    EXPECT_EQ(classifier->imageProblem(), DecodeProblem::unreadable);
    classifier->skipCurrent();
    EXPECT_EQ(classifier->imageProblem(), DecodeProblem::none);
    // A photo without an image is answered like any other, so a folder can always be finished.
    classifier->classifyCurrent(kSelectedFolder);
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Discarded/B.JPG"));
}

TEST_F(ClassifierTest, DecidingTheLastPhotoFinishesAndShowsTheFolder) {
    loadPhotos({"a.jpg"});
    watch();
    classifier->classifyCurrent(kSelectedFolder);
    // progress, canUndo, then image, file name and the finished flag.
    ASSERT_EQ(events.size(), 5u);
    EXPECT_FALSE(events[4].showFinished);
    EXPECT_EQ(snapshotOf(*classifier), (Snapshot{false, 1, true, "photos", {}, 1, 1, true}));
    EXPECT_EQ(classifier->state(), ClassifierState::Finished);
    EXPECT_EQ(desktop->shown, std::vector<std::filesystem::path>{folder});
    EXPECT_EQ(decoder->hints().back(), std::vector<std::string>{});
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

}  // namespace
}  // namespace vesko
