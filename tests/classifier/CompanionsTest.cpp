#include "ClassifierFixture.h"
#include "platform/Paths.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;

struct PairCase {
    const char* name;
    Names files;  // listed in this order; the first is the photo answered Yes
    Names moved;  // what ends up in Selected, in the order of the listing
    bool setting = true;
};

// Which files go with a photo: both naming rules, exact stems, case-blind extensions, and
// nothing that two photos could claim.
TEST_F(ClassifierTest, YesMovesThePhotoWithItsCompanions) {
    const std::vector<PairCase> cases = {
        {"pair", {"IMG_1.JPG", "IMG_1.CR3", "IMG_2.JPG"}, {"IMG_1.JPG", "IMG_1.CR3"}},
        {"sidecars by both rules",
         {"IMG_1.JPG", "IMG_1.cr3", "IMG_1.xmp", "IMG_1.cr3.XMP", "IMG_1.JPG.pp3", "IMG_1.AAE",
          "IMG_1.cr3.dop", "IMG_1.txt", "IMG_10.CR3", "IMG_1.CR3.aae"},
         {"IMG_1.JPG", "IMG_1.cr3", "IMG_1.xmp", "IMG_1.cr3.XMP", "IMG_1.JPG.pp3", "IMG_1.AAE",
          "IMG_1.cr3.dop"}},
        {"stems keep their case",
         {"IMG_1.JPG", "img_1.NEF", "IMG_1.nef"},
         {"IMG_1.JPG", "IMG_1.nef"}},
        {"ambiguous stem",
         {"IMG_1.JPG", "IMG_1.HEIC", "IMG_1.DNG", "IMG_1.DNG.xmp", "IMG_1.xmp", "IMG_1.HEIC.xmp"},
         {"IMG_1.HEIC", "IMG_1.HEIC.xmp"}},
        {"a photo is never a companion", {"IMG_1.JPG", "IMG_1.JPG.png"}, {"IMG_1.JPG"}},
        {"odd names", {"a b\n\xff.JPG", "a b\n\xff.ARW"}, {"a b\n\xff.JPG", "a b\n\xff.ARW"}},
        {"setting off", {"IMG_1.JPG", "IMG_1.CR3", "IMG_1.xmp"}, {"IMG_1.JPG"}, false},
        {"a RAW no photo claims is a shot with its sidecars",
         {"IMG_1.NEF", "IMG_1.NEF.xmp", "IMG_1.xmp", "IMG_1.jpg.xmp", "IMG_2.JPG"},
         {"IMG_1.NEF", "IMG_1.NEF.xmp", "IMG_1.xmp"}},
        {"two RAW shots of one stem share no sidecar",
         {"IMG_1.NEF", "IMG_1.DNG", "IMG_1.xmp", "IMG_1.DNG.xmp"},
         {"IMG_1.DNG", "IMG_1.DNG.xmp"}},
        {"setting off lists no RAW", {"IMG_1.NEF", "IMG_2.JPG"}, {"IMG_2.JPG"}, false},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.name);
        disk->remove(folder);
        disk->addFolder(folder);
        disk->addFolder(folder / "IMG_2.CR3");  // a folder is nobody's companion
        preferences->setMovesCompanions(c.setting);
        loadPhotos(c.files);
        classifier->classifyCurrent(kSelectedFolder);
        auto listed = disk->list(folder / "Selected");
        Names moved;
        for (const FolderEntry& entry : *listed) moved.push_back(lastPathComponent(entry.path));
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(classifier->progress(), 1);
        classifier->reset();
    }
}

TEST_F(ClassifierTest, AShotCountsOnceAndShowsItsCompanions) {
    disk->addFolder(folder / "b.CR3");  // a folder is nobody's companion
    loadPhotos(
        {"a.jpg", "a.CR3", "a.CR3.xmp", "b.jpg", "c.jpg", "c.heic", "c.NEF", "d.ARW", "d.xmp"});
    EXPECT_EQ(classifier->total(), 5);
    EXPECT_EQ(classifier->currentCompanions(), (Names{"a.CR3", "a.CR3.xmp"}));
    preferences->setMovesCompanions(false);  // a folder already loaded keeps its groups
    for (const char* alone : {"b.jpg", "c.heic", "c.jpg"}) {  // c.NEF could be either c's
        classifier->skipCurrent();
        EXPECT_EQ(classifier->currentFileName(), alone);
        EXPECT_TRUE(classifier->currentCompanions().empty());
    }
    classifier->skipCurrent();
    EXPECT_EQ(classifier->currentFileName(), "d.ARW");
    EXPECT_EQ(classifier->currentCompanions(), Names{"d.xmp"});
    classifier->skipCurrent();
    EXPECT_EQ(classifier->currentCompanions().size(), 2u);
}

// A group blocked half way whose move back fails too names the files it left in the
// subfolder; a companion gone since the listing does not hold its group back.
TEST_F(ClassifierTest, AGroupNamesWhatItStrandsAndMovesWithoutAVanishedCompanion) {
    loadPhotos({"a.jpg", "a.CR3", "a.xmp", "b.jpg", "b.CR3", "b.xmp"});
    fileSystem->failMoveNumber(3);
    fileSystem->failMoveNumber(4);  // a.CR3 cannot go back
    classifier->classifyCurrent(kSelectedFolder);
    EXPECT_EQ(classifier->notice()->stranded, Names{"a.CR3"});
    EXPECT_TRUE(disk->isFile(folder / "Selected/a.CR3"));
    EXPECT_TRUE(disk->isFile(folder / "a.jpg") && disk->isFile(folder / "a.xmp"));

    classifier->skipCurrent();
    disk->remove(folder / "b.xmp");
    classifier->classifyCurrent(kDiscardedFolder);
    EXPECT_TRUE(disk->isFile(folder / "Discarded/b.CR3"));
    classifier->undoLast();
    EXPECT_TRUE(disk->isFile(folder / "b.jpg") && disk->isFile(folder / "b.CR3"));
    EXPECT_EQ(classifier->queue().front(), (QueueEntry{folder / "b.jpg", {folder / "b.CR3"}}));
    EXPECT_EQ(classifier->progress(), 0);
}

}  // namespace
}  // namespace vesko
