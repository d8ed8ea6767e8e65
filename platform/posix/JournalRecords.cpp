#include "JournalRecords.h"

#include <zlib.h>

#include <algorithm>

namespace vesko {
namespace {

constexpr std::string_view kMagic = "VSKJ";
constexpr std::size_t kHeaderSize = 10;  // magic, version, type, length
constexpr std::size_t kCrcSize = 4;
// Far above any group of a photo and its companions; a longer length is not a record.
constexpr std::uint32_t kMaxPayload = 1 << 20;

enum class RecordType : std::uint8_t { begin = 1, finish = 2 };

class Writer {
public:
    void u8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) { little(value, 4); }
    void u64(std::uint64_t value) { little(value, 8); }
    void text(std::string_view value) {
        u32(static_cast<std::uint32_t>(value.size()));
        bytes_.append(value);
    }
    std::string take() { return std::move(bytes_); }

private:
    void little(std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i) {
            u8(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    std::string bytes_;
};

// Reads what Writer wrote; once it runs past the end, every read gives 0 and ok() is false.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::uint8_t u8() { return static_cast<std::uint8_t>(little(1)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::uint64_t u64() { return little(8); }
    std::string text() {
        const std::uint32_t size = u32();
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        std::string value(bytes_.substr(at_, size));
        at_ += size;
        return value;
    }
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::uint64_t little(std::size_t count) {
        if (!ok_ || count > bytes_.size() - at_) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            value |= std::uint64_t{static_cast<std::uint8_t>(bytes_[at_ + i])} << (8 * i);
        }
        at_ += count;
        return value;
    }
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::uint32_t crcOf(std::string_view bytes) {
    return static_cast<std::uint32_t>(
        ::crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string framed(RecordType type, const std::string& payload) {
    Writer body;
    body.u8(kJournalVersion);
    body.u8(static_cast<std::uint8_t>(type));
    body.u32(static_cast<std::uint32_t>(payload.size()));
    std::string record = body.take() + payload;
    Writer crc;
    crc.u32(crcOf(record));
    return std::string(kMagic) + record + crc.take();
}

std::optional<JournalEntry> entryFrom(std::string_view payload) {
    Reader in(payload);
    JournalEntry entry;
    entry.folder = in.text();
    entry.photo = in.u32();
    const std::uint32_t count = in.u32();
    for (std::uint32_t i = 0; in.ok() && i < count; ++i) {
        JournaledMove move{in.text(), in.text(), std::nullopt};
        if (in.u8() != 0) {
            move.key = FileKey{in.u64(), in.u64(), in.u64()};
        }
        entry.moves.push_back(std::move(move));
    }
    if (!in.ok() || !in.atEnd() || entry.photo >= entry.moves.size()) {
        return std::nullopt;
    }
    return entry;
}

bool allZero(std::string_view bytes) {
    return std::ranges::all_of(bytes, [](char byte) { return byte == 0; });
}

}  // namespace

std::string beginRecord(std::uint64_t offset, const JournalEntry& entry) {
    Writer payload;
    payload.u64(offset);
    payload.text(entry.folder);
    payload.u32(static_cast<std::uint32_t>(entry.photo));
    payload.u32(static_cast<std::uint32_t>(entry.moves.size()));
    for (const JournaledMove& move : entry.moves) {
        payload.text(move.from);
        payload.text(move.to);
        payload.u8(move.key ? 1 : 0);
        if (move.key) {
            payload.u64(move.key->device);
            payload.u64(move.key->inode);
            payload.u64(move.key->size);
        }
    }
    return framed(RecordType::begin, payload.take());
}

std::string finishRecord(std::uint64_t offset) {
    Writer payload;
    payload.u64(offset);
    return framed(RecordType::finish, payload.take());
}

JournalContents readJournal(std::string_view bytes) {
    JournalContents contents;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        if (allZero(rest)) {
            break;  // torn: the file grew in a power cut, its bytes did not reach the disk
        }
        if (rest.size() < kHeaderSize) {
            if (!kMagic.starts_with(rest.substr(0, kMagic.size()))) {
                contents.fault = JournalTrouble::Kind::damaged;
            }
            break;  // torn: cut inside the header
        }
        Reader header(rest.substr(kMagic.size(), kHeaderSize - kMagic.size()));
        const std::uint8_t version = header.u8();
        const auto type = static_cast<RecordType>(header.u8());
        const std::uint32_t length = header.u32();
        if (rest.substr(0, kMagic.size()) != kMagic || length > kMaxPayload) {
            contents.fault = JournalTrouble::Kind::damaged;
            break;
        }
        const std::size_t size = kHeaderSize + length + kCrcSize;
        if (size > rest.size()) {
            break;  // torn: cut short
        }
        Reader crc(rest.substr(kHeaderSize + length, kCrcSize));
        if (crc.u32() != crcOf(rest.substr(kMagic.size(), kHeaderSize - kMagic.size() + length))) {
            if (size != rest.size()) {
                contents.fault = JournalTrouble::Kind::damaged;
            }
            break;  // the last record, not all of whose bytes reached the disk: torn
        }
        if (version > kJournalVersion) {
            contents.fault = JournalTrouble::Kind::newerVersion;
            break;
        }
        const std::string_view payload = rest.substr(kHeaderSize, length);
        Reader ticket(payload);
        const std::uint64_t offset = ticket.u64();
        if (type == RecordType::begin && offset == at) {
            if (auto entry = entryFrom(payload.substr(8))) {
                contents.unfinished.emplace(offset, std::move(*entry));
                at += size;
                continue;
            }
        } else if (type == RecordType::finish && length == 8 && contents.unfinished.erase(offset)) {
            at += size;
            continue;
        }
        contents.fault = JournalTrouble::Kind::damaged;
        break;
    }
    if (contents.fault) {
        contents.unfinished.clear();
    }
    return contents;
}

}  // namespace vesko
