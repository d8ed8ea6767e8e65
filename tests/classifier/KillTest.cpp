// A child process answers Yes on a shot of three files and then Undo, on a real folder with the
// real journal, and is killed with SIGKILL after one step in turn: the journal write, each
// rename, the last step before the finish mark. A second, fresh process then recovers, at
// start or at the folder's load. After every kill the shot must end whole, all in the folder or
// all in Selected as the photo's own move decides, and nothing else may have changed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>

#include "classifier/PhotoViewModel.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/fakes/QueuedMainThread.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixMoveJournal.h"
#include "tests/platform/TempFolder.h"

namespace vesko {
namespace {

class NoImages : public ImageDecoder {
public:
    ImageHandle decode(const std::filesystem::path&) const override { return nullptr; }
};

// The steps of the group moves so far, and the one at which the process is killed.
int steps = 0;
int killAt = 0;
void step() {
    if (++steps == killAt) ::raise(SIGKILL);
}

class DyingFileSystem : public PosixFileSystem {
public:
    FileError move(const std::filesystem::path& from, const std::filesystem::path& to) override {
        const FileError error = PosixFileSystem::move(from, to);
        step();
        return error;
    }
};

class DyingJournal : public PosixMoveJournal {
public:
    using PosixMoveJournal::PosixMoveJournal;
    Start begin(const JournalEntry& entry) override {
        const Start start = PosixMoveJournal::begin(entry);
        step();
        return start;
    }
    void finish(Ticket ticket) override {
        step();
        PosixMoveJournal::finish(ticket);
    }
};

std::shared_ptr<PhotoViewModel> classifierWith(std::shared_ptr<FileSystem> fileSystem,
                                               std::shared_ptr<MoveJournal> journal) {
    return PhotoViewModel::create({std::move(fileSystem), std::make_shared<NoImages>(),
                                   std::make_shared<ScriptedFolderChooser>(),
                                   std::make_shared<RecordingDesktop>(),
                                   std::make_shared<QueuedMainThread>(),
                                   std::make_shared<MemoryPreferences>(), std::move(journal)});
}

// Every file under `root` by its path inside it, with its contents.
std::map<std::string, std::string> filesUnder(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).native();
        files[name] = entry.is_directory() ? "(folder)" : TempFolder::read(entry.path());
    }
    return files;
}

// Runs `work` in a child process; returns how it ended, as waitpid() tells it.
int inChild(const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(KillTest, EveryKillPointEndsWithTheShotWhole) {
    enum Place { inFolder, inSelected };
    const struct {
        const char* step;
        Place place;
        int told;  // the files recovery moved and said it did
    } kills[] = {
        {"Yes: after the journal write", inFolder, 0},
        {"Yes: after the photo's rename", inSelected, 2},
        {"Yes: after the first companion's rename", inSelected, 1},
        {"Yes: after the second companion's rename", inSelected, 0},
        {"Yes: before the finish mark", inSelected, 0},
        {"Undo: after the journal write", inSelected, 0},
        {"Undo: after the photo's rename", inFolder, 2},
        {"Undo: after the first companion's rename", inFolder, 1},
        {"Undo: after the second companion's rename", inFolder, 0},
        {"Undo: before the finish mark", inFolder, 0},
    };
    const std::vector<std::string> shot{"IMG_0001.JPG", "IMG_0001.CR3", "IMG_0001.xmp"};
    for (int k = 0; k < std::ssize(kills); ++k) {
        SCOPED_TRACE(kills[k].step);
        TempFolder temp;
        const std::filesystem::path folder = temp.path() / "photos";
        const std::filesystem::path state = temp.path() / "state";
        std::filesystem::create_directories(folder / "Selected");
        std::map<std::string, std::string> expected{{"Selected", "(folder)"}};
        for (const std::string& name : shot) {
            std::ofstream(folder / name) << name;
            expected[kills[k].place == inFolder ? name : "Selected/" + name] = name;
        }
        std::ofstream(folder / "notes.txt") << "notes";
        expected["notes.txt"] = "notes";

        const int killed = inChild([&] {
            killAt = k + 1;
            // Both ways of writing, so that syncing changes nothing of what is written.
            auto classifier =
                classifierWith(std::make_shared<DyingFileSystem>(),
                               std::make_shared<DyingJournal>(
                                   state, k % 2 ? DyingJournal::Durability::powerCut
                                                : DyingJournal::Durability::processEnd));
            classifier->loadFolder(folder);
            classifier->classifyCurrent(kSelectedFolder);
            classifier->undoLast();
            return 0;
        });
        ASSERT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGKILL);
        // Recovery at start after odd kill points, at the folder's load after even ones. Ends
        // with the number of companions it said it put back, or 100 for anything else it said.
        const int recovered = inChild([&] {
            auto classifier = classifierWith(std::make_shared<PosixFileSystem>(),
                                             std::make_shared<PosixMoveJournal>(
                                                 state, PosixMoveJournal::Durability::processEnd));
            k % 2 ? classifier->loadFolder(folder) : classifier->recoverInterruptedMoves();
            int told = 0;
            for (const RecoveryNote& note : classifier->notice() ? classifier->notice()->recovered
                                                                 : std::vector<RecoveryNote>{}) {
                const bool companion = note.file != "IMG_0001.JPG";
                told += note.kind == RecoveryNote::Kind::rejoined && companion ? 1 : 100;
            }
            return told;
        });
        EXPECT_EQ(WEXITSTATUS(recovered), kills[k].told);
        EXPECT_EQ(filesUnder(folder), expected);
    }
}

}  // namespace
}  // namespace vesko
