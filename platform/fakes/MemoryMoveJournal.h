#pragma once

#include <optional>
#include <vector>

#include "platform/MoveJournal.h"

namespace vesko {

// A move journal held in memory, for tests: it keeps every entry with whether it was
// finished, takes entries as if left by an ended process, and fails on request.
class MemoryMoveJournal : public MoveJournal {
public:
    struct Record {
        JournalEntry entry;
        bool finished = false;
    };

    const std::vector<Record>& records() const { return records_; }
    // An unfinished entry, as a process that has ended left it.
    void leave(JournalEntry entry) { records_.push_back({std::move(entry), false}); }
    // Until healed, begin() fails with `trouble`.
    void failWriting(std::optional<JournalTrouble> trouble) { writing_ = std::move(trouble); }
    // Until healed, resolving hands out nothing and reports `trouble`.
    void failReading(std::optional<JournalTrouble> trouble) { reading_ = std::move(trouble); }

    Start begin(const JournalEntry& entry) override;
    void finish(Ticket ticket) override;
    std::optional<JournalTrouble> resolveUnfinished(const std::string& folder,
                                                    const Resolve& resolve) override {
        return resolveWhere(&folder, resolve);
    }
    std::optional<JournalTrouble> resolveAllUnfinished(const Resolve& resolve) override {
        return resolveWhere(nullptr, resolve);
    }

private:
    std::optional<JournalTrouble> resolveWhere(const std::string* folder, const Resolve& resolve);

    std::vector<Record> records_;
    std::optional<JournalTrouble> writing_;
    std::optional<JournalTrouble> reading_;
};

}  // namespace vesko
