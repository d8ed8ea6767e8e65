#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Op = FailingFileSystem::Operation;

TEST_F(ClassifierTest, QueuesExactlyTheAcceptedExtensionsInAnyCase) {
    loadPhotos({"IMG_0001.JPG", "b.Jpeg", "c.PNG", "d.HEIC", "e.WebP", "f.jpe", "g.gif", "h.tiff",
                "noext", "x.txt.jpg", "x.jpg.txt", "._IMG_0001.jpg", ".jpg", "dot.", "sp ace.jpg ",
                "\xff\xfe.jpg"});
    disk->addFolder(folder / "trip.jpg");
    disk->addFolder(folder / "Selected");
    classifier->reset();
    classifier->loadFolder(folder);
    EXPECT_EQ(queueNames(), (Names{"._IMG_0001.jpg", ".jpg", "b.Jpeg", "c.PNG", "d.HEIC", "e.WebP",
                                   "IMG_0001.JPG", "trip.jpg", "x.txt.jpg", "\xff\xfe.jpg"}));
    EXPECT_EQ(classifier->total(), 10);
}

// Listed in a scrambled order, as ext4 lists by hash, and queued by name.
TEST_F(ClassifierTest, QueuesShotsInNameOrder) {
    const struct {
        const char* name;
        Names listed;
        Names queued;
    } cases[] = {
        {"digits as numbers",
         {"IMG_10.jpg", "IMG_0009.jpg", "IMG_100.jpg", "IMG_9a.jpg"},
         {"IMG_0009.jpg", "IMG_9a.jpg", "IMG_10.jpg", "IMG_100.jpg"}},
        {"letters in any case",
         {"b.jpg", "a2.jpg", "C.jpg", "A.jpg"},
         {"A.jpg", "a2.jpg", "b.jpg", "C.jpg"}},
        {"ties by bytes",
         {"a.jpg", "IMG_1.jpg", "A.jpg", "IMG_01.jpg"},
         {"A.jpg", "a.jpg", "IMG_01.jpg", "IMG_1.jpg"}},
        {"past eight bytes",
         {"trip 2019 10.jpg", "a.jpg", "trip 2019 9.jpg"},
         {"a.jpg", "trip 2019 9.jpg", "trip 2019 10.jpg"}},
        {"not UTF-8", {"\xff.jpg", "\xc3\xa9.jpg", "z.jpg"}, {"z.jpg", "\xc3\xa9.jpg", "\xff.jpg"}},
        {"a RAW-only shot among photos",
         {"IMG_3.jpg", "IMG_2.NEF", "IMG_1.jpg", "IMG_3.CR3"},
         {"IMG_1.jpg", "IMG_2.NEF", "IMG_3.jpg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        disk->remove(folder);
        loadPhotos(c.listed);
        EXPECT_EQ(queueNames(), c.queued);
    }
}

// A folder without photos is finished; one that cannot be read is no folder at all.
TEST_F(ClassifierTest, FolderWithoutPhotosFinishesAtOnceAndAnUnreadableOneIsTold) {
    addPhotos({"notes.txt"});
    classifier->loadFolder(folder);
    EXPECT_EQ(classifier->state(), ClassifierState::Finished);
    EXPECT_EQ(snapshotOf(*classifier).folderName, "photos");
    EXPECT_TRUE(classifier->showFinished());
    EXPECT_EQ(desktop->shown, std::vector<std::filesystem::path>{folder});

    classifier->reset();
    desktop->shown.clear();
    addPhotos({"a.jpg"});
    fileSystem->fail(Op::list);
    classifier->loadFolder(folder);
    EXPECT_EQ(classifier->state(), ClassifierState::Start);
    EXPECT_TRUE(desktop->shown.empty());
    ASSERT_TRUE(classifier->notice());
    EXPECT_EQ(classifier->notice()->step, Notice::Step::load);
    EXPECT_EQ(classifier->notice()->folder, folder);
    EXPECT_EQ(classifier->notice()->error.cause, std::errc::io_error);
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
