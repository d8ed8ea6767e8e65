#include "MemoryMoveJournal.h"

namespace vesko {

MoveJournal::Start MemoryMoveJournal::begin(const JournalEntry& entry) {
    if (writing_) {
        return {std::nullopt, writing_};
    }
    records_.push_back({entry, false});
    return {records_.size() - 1, std::nullopt};
}

void MemoryMoveJournal::finish(Ticket ticket) {
    if (ticket < records_.size()) {
        records_[ticket].finished = true;
    }
}

std::optional<JournalTrouble> MemoryMoveJournal::resolveWhere(const std::string* folder,
                                                              const Resolve& resolve) {
    if (reading_) {
        return reading_;
    }
    for (Record& record : records_) {
        if (!record.finished && (!folder || record.entry.folder == *folder)) {
            resolve(record.entry);
            record.finished = true;
        }
    }
    return std::nullopt;
}

}  // namespace vesko
