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

// Counts the steps of the group moves, and kills the process at the chosen one.
struct Killer {
    int killAt = 0;
    int steps = 0;
    void step() {
        if (++steps == killAt) ::raise(SIGKILL);
    }
};

class DyingFileSystem : public PosixFileSystem {
public:
    explicit DyingFileSystem(Killer& killer) : killer_(killer) {}
    FileError move(const std::filesystem::path& from, const std::filesystem::path& to) override {
        const FileError error = PosixFileSystem::move(from, to);
        killer_.step();
        return error;
    }

private:
    Killer& killer_;
};

class DyingJournal : public PosixMoveJournal {
public:
    DyingJournal(const std::filesystem::path& folder, Durability durability, Killer& killer)
        : PosixMoveJournal(folder, durability), killer_(killer) {}
    Start begin(const JournalEntry& entry) override {
        const Start start = PosixMoveJournal::begin(entry);
        killer_.step();
        return start;
    }
    void finish(Ticket ticket) override {
        killer_.step();
        PosixMoveJournal::finish(ticket);
    }

private:
    Killer& killer_;
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

// Runs `work` in a child process and gives back what it wrote to its pipe; the child's end,
// normal or killed, is not the test's business.
std::string inChild(const std::function<void(int pipe)>& work) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        work(ends[1]);
        ::_exit(0);
    }
    ::close(ends[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return said;
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

        inChild([&](int) {
            Killer killer{k + 1};
            // Both ways of writing, so that syncing changes nothing of what is written.
            const auto durability = k % 2 ? PosixMoveJournal::Durability::powerCut
                                          : PosixMoveJournal::Durability::processEnd;
            auto classifier =
                classifierWith(std::make_shared<DyingFileSystem>(killer),
                               std::make_shared<DyingJournal>(state, durability, killer));
            classifier->loadFolder(folder);
            classifier->classifyCurrent(kSelectedFolder);
            classifier->undoLast();
        });
        // Recovery at start after odd kill points, at the folder's load after even ones.
        const std::string told = inChild([&](int pipe) {
            auto classifier = classifierWith(std::make_shared<PosixFileSystem>(),
                                             std::make_shared<PosixMoveJournal>(
                                                 state, PosixMoveJournal::Durability::processEnd));
            k % 2 ? classifier->loadFolder(folder) : classifier->recoverInterruptedMoves();
            // A rejoined companion as "+", anything else by its name.
            std::string said;
            for (const RecoveryNote& note : classifier->notice() ? classifier->notice()->recovered
                                                                 : std::vector<RecoveryNote>{}) {
                const bool companion = note.file != "IMG_0001.JPG";
                said += note.kind == RecoveryNote::Kind::rejoined && companion ? "+" : note.file;
            }
            if (::write(pipe, said.data(), said.size()) != std::ssize(said)) ::_exit(1);
        });
        EXPECT_EQ(filesUnder(folder), expected);
        EXPECT_EQ(told, std::string(static_cast<std::size_t>(kills[k].told), '+'));
    }
}

}  // namespace
}  // namespace vesko
