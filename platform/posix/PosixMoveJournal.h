#pragma once

#include <filesystem>
#include <optional>
#include <set>

#include "platform/MoveJournal.h"

namespace vesko {

// The move journal as files in one folder of its own: one file per chosen folder, named by a
// hash of the folder's path, so that windows on different folders never write the same file
// (two folders whose hashes meet share one, which is safe: entries name their folder). Records
// are appended (see JournalRecords.h). A process holds an exclusive flock() on the file from
// begin() to finish(), and so does resolving: an unfinished entry whose file is not locked
// belongs to a process that has ended, whose locks the kernel let go of. A file that holds
// nothing but finished entries is emptied.
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

    // The file that holds the entries of `folder`.
    std::filesystem::path fileFor(const std::string& folder) const;

private:
    struct Open {
        int fd = -1;
        Ticket ticket = 0;
        std::uint64_t end = 0;
        std::set<std::string> folders;  // those the renames change, to sync
    };

    std::optional<JournalTrouble> resolveFile(const std::filesystem::path& file,
                                              const std::string* folder, const Resolve& resolve);
    void syncFolders(const std::set<std::string>& folders) const;

    std::filesystem::path folder_;
    Durability durability_;
    std::optional<Open> open_;
};

}  // namespace vesko
