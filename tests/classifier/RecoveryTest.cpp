#include <functional>

#include "ClassifierFixture.h"

namespace vesko {
namespace {

using Names = std::vector<std::string>;
using Kind = RecoveryNote::Kind;
using Notes = std::vector<std::pair<Kind, std::string>>;

class RecoveryTest : public ClassifierTest {
protected:
    // The entry that Yes on the shot `names` (the photo first) writes, as the files are now.
    JournalEntry entryFor(const Names& names) const {
        JournalEntry entry{folder, {}, 0};
        for (const std::string& name : names) {
            entry.moves.push_back(
                {folder / name, folder / "Selected" / name, disk->keyOf(folder / name)});
        }
        return entry;
    }
    // What the notice says, file by file.
    Notes told() const {
        Notes notes;
        for (const RecoveryNote& note :
             classifier->notice() ? classifier->notice()->recovered : std::vector<RecoveryNote>{}) {
            notes.emplace_back(note.kind, note.file);
        }
        return notes;
    }
};

// A Yes cut short after the photo's rename, and what happened to its files meanwhile: only a
// file that is still the one that was moving is moved, never over another.
TEST_F(RecoveryTest, OnlyTheFilesThatWereMovingAreMovedAndNothingIsReplaced) {
    const Names shot{"a.jpg", "a.CR3", "a.xmp"};
    const struct {
        const char* meanwhile;
        std::function<void()> arrange;
        Names inSelected;  // of the shot, after recovery
        Notes notes;
    } cases[] = {
        {"nothing", [] {}, shot, {{Kind::rejoined, "a.CR3"}, {Kind::rejoined, "a.xmp"}}},
        {"the RAW replaced",
         [&] {
             disk->remove(folder / "a.CR3");
             disk->addFile(folder / "a.CR3");
         },
         {"a.jpg", "a.xmp"},
         {{Kind::changed, "a.CR3"}, {Kind::rejoined, "a.xmp"}}},
        {"a RAW of that name in Selected",
         [&] { disk->addFile(folder / "Selected/a.CR3"); },
         {"a.jpg", "a.xmp"},
         {{Kind::blocked, "a.CR3"}, {Kind::rejoined, "a.xmp"}}},
        {"the photo's move by linking cut short before the unlink",
         [&] { disk->addHardLink(folder / "Selected/a.jpg", folder / "a.jpg"); },
         shot,
         {{Kind::rejoined, "a.CR3"}, {Kind::rejoined, "a.xmp"}}},
        {"Selected made a link",
         [&] { disk->makeFolderLink(folder / "Selected"); },
         {"a.jpg"},
         {{Kind::blocked, "a.CR3"}, {Kind::blocked, "a.xmp"}}},
        {"the photo replaced",
         [&] {
             disk->remove(folder / "Selected/a.jpg");
             disk->addFile(folder / "Selected/a.jpg");
         },
         {"a.jpg"},
         {{Kind::changed, "a.jpg"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        disk->remove(folder);
        addPhotos(shot);
        journal->leave(entryFor(shot));
        disk->addFolder(folder / "Selected");
        disk->move(folder / "a.jpg", folder / "Selected/a.jpg");
        c.arrange();

        classifier->loadFolder(folder);
        EXPECT_EQ(told(), c.notes);
        for (const std::string& name : shot) {
            const bool selected = std::ranges::find(c.inSelected, name) != c.inSelected.end();
            EXPECT_EQ(disk->isFile(folder / name), !selected) << name;
        }
        classifier->reset();
        classifier->loadFolder(folder);
        EXPECT_FALSE(classifier->notice()) << "each entry is told once";
    }
}

// An entry of a folder that is gone is told and dropped; a journal that cannot be read or
// written is told once, and moves nothing.
TEST_F(RecoveryTest, WhatCannotBeRecoveredIsToldOnce) {
    addPhotos({"a.jpg", "a.CR3", "b.jpg", "b.CR3"});
    JournalEntry gone = entryFor({"a.jpg", "a.CR3"});
    gone.folder = "/gone";
    journal->leave(gone);
    classifier->recoverInterruptedMoves();
    EXPECT_EQ(told(), (Notes{{Kind::folderGone, "a.jpg"}}));
    EXPECT_TRUE(journal->records().front().finished);

    journal->leave(entryFor({"a.jpg", "a.CR3"}));
    disk->move(folder / "a.jpg", folder / "b.tmp");  // as if moved: where would be a guess
    journal->failReading(JournalTrouble{JournalTrouble::Kind::damaged});
    classifier->loadFolder(folder);  // what the start told stays until an answer
    EXPECT_EQ(told(), (Notes{{Kind::folderGone, "a.jpg"}, {Kind::journal, ""}}));
    classifier->reset();
    classifier->loadFolder(folder);
    EXPECT_FALSE(classifier->notice());
    EXPECT_TRUE(disk->isFile(folder / "a.CR3"));

    // Unwritable, in a new run: the answers go ahead whole, and the window says so after the
    // first.
    classifier = PhotoViewModel::create(
        {fileSystem, decoder, chooser, desktop, mainThread, preferences, journal});
    journal->failReading(std::nullopt);
    journal->failWriting(JournalTrouble{JournalTrouble::Kind::unwritable});
    disk->remove(folder / "a.CR3");  // a RAW without its photo would be a shot of one file
    disk->addFile(folder / "c.jpg");
    disk->addFile(folder / "c.xmp");
    classifier->loadFolder(folder);
    for (int answer = 0; answer < 2; ++answer) {
        classifier->classifyCurrent(kSelectedFolder);
        mainThread->drain();
        EXPECT_EQ(told(), (answer == 0 ? Notes{{Kind::journal, ""}} : Notes{}));
    }
    EXPECT_TRUE(disk->isFile(folder / "Selected/b.CR3"));
    EXPECT_TRUE(disk->isFile(folder / "Selected/c.xmp"));
}

}  // namespace
}  // namespace vesko
