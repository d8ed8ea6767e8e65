#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Op = FailingFileSystem::Operation;

// In the order the folder lists them.
TEST_F(ClassifierTest, QueuesExactlyTheAcceptedExtensionsInAnyCase) {
    loadPhotos({"IMG_0001.JPG", "b.Jpeg", "c.PNG", "d.HEIC", "e.WebP", "f.jpe", "g.gif", "h.tiff",
                "noext", "x.txt.jpg", "x.jpg.txt", "._IMG_0001.jpg", ".jpg", "dot.", "sp ace.jpg ",
                "\xff\xfe.jpg"});
    disk->addFolder(folder / "trip.jpg");
    disk->addFolder(folder / "Selected");
    classifier->reset();
    classifier->loadFolder(folder);
    EXPECT_EQ(queueNames(),
              (Names{"IMG_0001.JPG", "b.Jpeg", "c.PNG", "d.HEIC", "e.WebP", "x.txt.jpg",
                     "._IMG_0001.jpg", ".jpg", "\xff\xfe.jpg", "trip.jpg"}));
    EXPECT_EQ(classifier->total(), 10);
}

TEST_F(ClassifierTest, FolderWithoutPhotosOrUnlistableFinishesAtOnce) {
    for (const bool unlistable : {false, true}) {
        SCOPED_TRACE(unlistable);
        classifier->reset();
        desktop->shown.clear();
        addPhotos({"notes.txt"});
        if (unlistable) {
            addPhotos({"a.jpg"});
            fileSystem->fail(Op::list);
        }
        classifier->loadFolder(folder);
        EXPECT_EQ(classifier->state(), ClassifierState::Finished);
        EXPECT_EQ(snapshotOf(*classifier).folderName, "photos");
        EXPECT_TRUE(classifier->showFinished());
        EXPECT_EQ(classifier->total(), 0);
        EXPECT_EQ(desktop->shown, std::vector<std::filesystem::path>{folder});
    }
}

TEST_F(ClassifierTest, ChooserLoadsTheChosenFolderAndCancelChangesNothing) {
    addPhotos({"a.jpg"});
    watch();
    classifier->selectFolder();
    EXPECT_EQ(chooser->timesShown, 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(classifier->state(), ClassifierState::Start);

    chooser->answer = folder;
    classifier->selectFolder();
    EXPECT_EQ(classifier->currentFileName(), "a.jpg");
    EXPECT_EQ(classifier->sourceFolder(), folder);
}

}  // namespace
}  // namespace vesko
