#pragma once

#include <filesystem>
#include <optional>
#include <set>

#include "platform/MoveJournal.h"

namespace vesko {

// The move journal as files in one folder of its own. Each process writes its entries to a
// file of its own, named by its process id and a random number, which it holds an exclusive
// flock() on from its first entry until it ends; so no process ever waits for another. Records
// are appended (see JournalRecords.h), and the file is emptied whenever its last entry is
// finished. Resolving takes the files whose lock it can get without waiting, those of
// processes that have ended (the kernel let go of their locks), and removes each once nothing
// in it is unfinished. Whatever else is there under a journal's name and is not a regular file
// is never opened to wait on: it is put aside and told, as a damaged file is.
class PosixMoveJournal : public MoveJournal {
public:
    enum class Durability {
        // Written to the page cache: an entry outlives a kill or a crash of Vesko, not a
        // power cut. No call waits for the disk.
        processEnd,
        // The entry is synced before the first rename, and the folders of the renames before
        // the entry is marked finished: it outlives a power cut too.
        powerCut,
    };

    PosixMoveJournal(std::filesystem::path folder, Durability durability);
    ~PosixMoveJournal() override;
    PosixMoveJournal(const PosixMoveJournal&) = delete;
    PosixMoveJournal& operator=(const PosixMoveJournal&) = delete;

    // $XDG_STATE_HOME/vesko when that is an absolute path, otherwise ~/.local/state/vesko.
    static std::filesystem::path defaultFolder();

    Start begin(const JournalEntry& entry) override;
    void finish(Ticket ticket) override;
    std::optional<JournalTrouble> resolveUnfinished(const std::string& folder,
                                                    const Resolve& resolve) override;
    std::optional<JournalTrouble> resolveAllUnfinished(const Resolve& resolve) override;

private:
    struct Open {
        Ticket ticket = 0;
        std::uint64_t end = 0;
        std::set<std::string> folders;  // those the renames change, to sync
    };

    std::optional<JournalTrouble> resolveWhere(const std::string* folder, const Resolve& resolve);
    std::optional<JournalTrouble> resolveFile(const std::filesystem::path& file,
                                              const std::string* folder, const Resolve& resolve);
    std::error_code openOwnFile();
    void syncFolders(const std::set<std::string>& folders) const;

    std::filesystem::path folder_;
    Durability durability_;
    std::filesystem::path ownFile_;
    int ownFd_ = -1;
    std::optional<Open> open_;
};

}  // namespace vesko
