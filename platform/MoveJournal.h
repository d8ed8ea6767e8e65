#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/FileSystem.h"

namespace vesko {

// One rename of a group, with the key of the file before it; none when the file was
// already gone (a companion may go missing between the listing and the answer).
struct JournaledMove {
    std::string from;
    std::string to;
    std::optional<FileKey> key;

    bool operator==(const JournaledMove&) const = default;
};

// A group move about to happen: the chosen folder it belongs to, its renames in order, and
// which of them moves the photo.
struct JournalEntry {
    std::string folder;
    std::vector<JournaledMove> moves;
    std::size_t photo = 0;

    bool operator==(const JournalEntry&) const = default;
};

// Why the journal could not be used.
struct JournalTrouble {
    enum class Kind {
        unreadable,    // it could not be read: `cause` says why
        damaged,       // it holds bytes that are no journal entry, other than a torn last one
        newerVersion,  // it was written by a later Vesko
        unwritable,    // an entry could not be written: `cause` says why
        notAFile,      // something that is no regular file has a journal's name
    };
    Kind kind;
    std::error_code cause = {};

    bool operator==(const JournalTrouble&) const = default;
};

// The record of group moves in progress, kept outside the photo folders, so that a move cut
// short by a crash, a kill or a power cut can be completed when Vesko next starts or loads
// the folder. No call waits for another process. Main thread.
class MoveJournal {
public:
    using Ticket = std::uint64_t;
    using Resolve = std::function<void(const JournalEntry&)>;

    virtual ~MoveJournal() = default;

    // Records `entry` before its first rename. When this returns a ticket the entry outlives a
    // kill of the process (and, where the journal syncs, a power cut), and it stays unfinished
    // until finish(). Until then no other process resolves it. On failure nothing is recorded
    // and the caller moves without a record.
    struct Start {
        std::optional<Ticket> ticket;
        std::optional<JournalTrouble> trouble;
    };
    virtual Start begin(const JournalEntry& entry) = 0;

    // Marks the entry of `ticket` finished, after its last rename (or after the renames that
    // happened were undone). Where the journal syncs, the renames reach the disk first.
    virtual void finish(Ticket ticket) = 0;

    // Hands each unfinished entry of `folder` left by a process that has ended to `resolve`,
    // once, then marks it finished: an entry is reported once, whatever `resolve` could do.
    // A torn last entry (cut short while it was written, before any of its renames) is not one.
    // Returns why a record that may hold entries of `folder` could not be read; its entries
    // are then not handed out, and the unreadable record is put aside so that it is reported
    // once.
    virtual std::optional<JournalTrouble> resolveUnfinished(const std::string& folder,
                                                            const Resolve& resolve) = 0;

    // The same for the entries of every folder.
    virtual std::optional<JournalTrouble> resolveAllUnfinished(const Resolve& resolve) = 0;
};

}  // namespace vesko
