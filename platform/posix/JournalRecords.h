#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/MoveJournal.h"

namespace vesko {

// The bytes of a journal file: records appended one after another, each framed as
//
//   "VSKJ" | version (1 byte) | type (1 byte) | payload length (4 bytes) | payload | CRC-32
//
// integers little-endian, the CRC over version, type, length and payload. A begin record
// holds an entry; a finish record names the begin record it ends by its offset in the file,
// which is also the entry's ticket. A record is written with one write(), so a kill leaves it
// whole or cut short, and only the last record of a file can be cut short.

inline constexpr std::uint8_t kJournalVersion = 1;

std::string beginRecord(std::uint64_t offset, const JournalEntry& entry);
std::string finishRecord(std::uint64_t offset);

// The entries of a file that have no finish record, by offset. A last record that is cut
// short, or whose bytes did not all reach the disk (zeros or a wrong checksum up to the end
// of the file), was never written as far as anyone can tell: it is left out. Anything else
// that is not a record makes the whole file unusable: nothing in it is trusted.
struct JournalContents {
    std::map<std::uint64_t, JournalEntry> unfinished;
    std::optional<JournalTrouble::Kind> fault;
};
JournalContents readJournal(std::string_view bytes);

}  // namespace vesko
