// Group moves that a crash, a kill or a power cut may cut short: the journal entry written
// before the first rename, and completing an entry that was never marked finished.
#include <filesystem>

#include "PhotoViewModel.h"
#include "platform/Paths.h"

namespace vesko {
namespace {

std::string folderOf(const std::string& path) {
    return lastPathComponent(std::filesystem::path(path).parent_path().native());
}

bool holds(const FileSystem& fileSystem, const std::string& path,
           const std::optional<FileKey>& key) {
    return key && fileSystem.keyOf(path) == key;
}

// Puts each file of an interrupted group where its photo is now: forward, when the photo
// itself has moved (the decision was taken), back when it has not. A file is moved only while
// it is the very file that was moving, and only by the move that never replaces; one found
// under both names, as a move by linking cut short leaves it, loses its old name to that move.
void resolveEntry(const JournalEntry& entry, FileSystem& fileSystem,
                  std::vector<RecoveryNote>& notes) {
    const JournaledMove& photo = entry.moves[entry.photo];
    if (!fileSystem.kindOf(entry.folder).isDirectory) {
        notes.push_back(
            {RecoveryNote::Kind::folderGone, lastPathComponent(photo.from), entry.folder});
        return;
    }
    bool forward = true;
    if (!holds(fileSystem, photo.to, photo.key)) {
        if (!holds(fileSystem, photo.from, photo.key)) {
            // With the photo changed or gone, where its files belong is anyone's guess.
            notes.push_back(
                {RecoveryNote::Kind::changed, lastPathComponent(photo.from), folderOf(photo.from)});
            return;
        }
        forward = false;
    }
    const std::string& photoPath = forward ? photo.to : photo.from;
    for (const JournaledMove& move : entry.moves) {
        const std::string& there = forward ? move.to : move.from;
        const std::string& here = forward ? move.from : move.to;
        const bool arrived = holds(fileSystem, there, move.key);
        const bool left = holds(fileSystem, here, move.key);
        if (!move.key || (arrived && !left)) {
            continue;  // gone before the move began, or already with its photo
        }
        if (!left) {
            notes.push_back({RecoveryNote::Kind::changed, lastPathComponent(here), folderOf(here)});
        } else if (FileError error = fileSystem.move(here, there)) {
            notes.push_back({RecoveryNote::Kind::blocked, lastPathComponent(here), folderOf(here),
                             lastPathComponent(photoPath), folderOf(photoPath), error});
        } else if (!arrived) {
            notes.push_back(
                {RecoveryNote::Kind::rejoined, lastPathComponent(there), folderOf(there)});
        }
    }
}

}  // namespace

GroupMove PhotoViewModel::moveRecorded(const std::vector<PlannedMove>& group) {
    FileSystem& fileSystem = *services_.fileSystem;
    // One rename is atomic: it cannot be cut in half, so it needs no entry to complete it.
    if (!services_.moveJournal || group.size() < 2) {
        return fileSystem.moveGroup(group);
    }
    JournalEntry entry{sourceFolder_.value_or(std::string()), {}, 0};
    for (const PlannedMove& move : group) {
        entry.moves.push_back({move.from, move.to, fileSystem.keyOf(move.from)});
    }
    const MoveJournal::Start start = services_.moveJournal->begin(entry);
    if (!start.ticket) {
        // The answer goes ahead unrecorded; the window says so once this operation is over,
        // so that the answer's own announcements stay as they are, unless the answer has a
        // notice of its own to show: then at the next move.
        services_.mainThread->post([weak = weak_from_this(), trouble = start.trouble] {
            if (const auto self = weak.lock(); self && !self->notice()) self->tell({}, trouble);
        });
        return fileSystem.moveGroup(group);
    }
    GroupMove result = fileSystem.moveGroup(group);
    services_.moveJournal->finish(*start.ticket);
    return result;
}

void PhotoViewModel::recoverInterruptedMoves() {
    if (!services_.moveJournal) {
        return;
    }
    std::vector<RecoveryNote> notes;
    auto trouble = services_.moveJournal->resolveAllUnfinished(
        [&](const JournalEntry& entry) { resolveEntry(entry, *services_.fileSystem, notes); });
    tell(std::move(notes), trouble);
}

void PhotoViewModel::recoverInterruptedMoves(const std::string& folder) {
    if (!services_.moveJournal) {
        return;
    }
    std::vector<RecoveryNote> notes;
    auto trouble = services_.moveJournal->resolveUnfinished(folder, [&](const JournalEntry& entry) {
        resolveEntry(entry, *services_.fileSystem, notes);
    });
    tell(std::move(notes), trouble);
}

// A journal that cannot be used is said once a run: nothing can be done about it in between.
void PhotoViewModel::tell(std::vector<RecoveryNote> notes, std::optional<JournalTrouble> trouble) {
    if (trouble && !journalTroubleTold_) {
        journalTroubleTold_ = true;
        notes.push_back({RecoveryNote::Kind::journal, {}, {}, {}, {}, {}, trouble});
    }
    if (notes.empty()) {
        return;
    }
    // Notes of the start and of the folder loaded after it are told together.
    if (notice() && notice()->step == Notice::Step::recover) {
        notes.insert(notes.begin(), notice()->recovered.begin(), notice()->recovered.end());
    }
    notice_.set(Notice{Notice::Step::recover, {}, {}, {}, {}, std::move(notes)});
}

}  // namespace vesko
