#include "Companions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <optional>

#include "platform/Paths.h"

namespace vesko {
namespace {

constexpr std::array<std::string_view, 5> kPhotoExtensions = {"jpg", "jpeg", "png", "heic", "webp"};
constexpr std::array<std::string_view, 25> kRawExtensions = {
    "3fr", "arw", "cr2", "cr3", "crw", "dcr", "dng", "erf", "fff", "iiq", "kdc", "mef", "mos",
    "mrw", "nef", "nrw", "orf", "pef", "raf", "rw2", "rwl", "sr2", "srf", "srw", "x3f"};

constexpr int kNobody = -1;
constexpr int kAmbiguous = -2;

std::string_view nameOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view stemOf(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

// The extension lowered, or "" when it is longer than any extension looked for.
std::string lowerExtension(std::string_view name, std::size_t longest) {
    const std::string_view extension = pathExtension(name);
    return extension.size() > longest ? std::string() : lowercased(extension);
}

bool isOneOf(std::string_view value, std::span<const std::string_view> list) {
    return std::ranges::find(list, value) != list.end();
}

// The names that some companion could point to, each with the photo it points to: kNobody
// until a photo claims it, kAmbiguous once two do. Only such names are held, so a folder costs
// what its companions cost; open addressing, because every photo of a folder of a hundred
// thousand is looked up and a node per name costs more than the listing itself.
class Owners {
public:
    explicit Owners(std::size_t expected) : slots_(std::bit_ceil(2 * expected + 2)) {}

    void add(std::string_view key) {
        Slot& slot = slots_[find(key)];
        slot.key = key;
        slot.used = true;
    }

    void claim(std::string_view key, int photo) {
        Slot& slot = slots_[find(key)];
        if (slot.used) {
            slot.owner = slot.owner == kNobody || slot.owner == photo ? photo : kAmbiguous;
        }
    }

    int ownerOf(std::string_view key) const {
        const Slot& slot = slots_[find(key)];
        return slot.used ? slot.owner : kNobody;
    }

private:
    struct Slot {
        std::string_view key;
        int owner = kNobody;
        bool used = false;
    };

    // The slot that holds `key`, or the free one where it would go.
    std::size_t find(std::string_view key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = std::hash<std::string_view>{}(key)&mask;
        while (slots_[i].used && slots_[i].key != key) {
            i = (i + 1) & mask;
        }
        return i;
    }

    std::vector<Slot> slots_;
};

// One owner from two rules: nobody where neither names one, none where they disagree.
int agree(int a, int b) {
    if (a == kNobody) return b;
    if (b == kNobody || a == b) return a;
    return kAmbiguous;
}

struct Candidate {
    std::size_t entry;
    std::string_view name;
    bool isRaw;
    bool namedByStem;      // stem + extension
    bool namedByFullName;  // a photo's or RAW's full name + extension
};

std::optional<Candidate> candidateFor(std::size_t entry, std::string_view name) {
    const std::string extension = lowerExtension(name, 3);
    if (isOneOf(extension, kRawExtensions)) {
        return Candidate{entry, name, true, true, false};
    }
    if (extension == "xmp" || extension == "aae" || extension == "pp3" || extension == "dop") {
        return Candidate{entry, name, false, extension != "pp3" && extension != "dop",
                         extension != "aae"};
    }
    return std::nullopt;
}

}  // namespace

bool isPhotoName(std::string_view name) {
    // Every accepted extension is at most four letters: skip the copy for anything longer.
    return isOneOf(lowerExtension(nameOf(name), 4), kPhotoExtensions);
}

std::deque<QueueEntry> photosWithCompanions(std::vector<FolderEntry> entries, bool withCompanions,
                                            const FileSystem& fileSystem) {
    std::vector<std::size_t> photos;
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        (isPhotoName(entries[i].path) ? photos : others).push_back(i);
    }
    std::vector<std::vector<std::size_t>> companions(photos.size());
    std::vector<Candidate> candidates;
    if (withCompanions) {
        for (const std::size_t i : others) {
            if (auto candidate = candidateFor(i, nameOf(entries[i].path))) {
                candidates.push_back(*candidate);
            }
        }
    }
    if (!candidates.empty()) {
        Owners byStem(candidates.size());
        Owners byName(candidates.size());
        for (const Candidate& c : candidates) {
            if (c.namedByStem) byStem.add(stemOf(c.name));
            if (c.namedByFullName) byName.add(stemOf(c.name));
        }
        for (std::size_t p = 0; p < photos.size(); ++p) {
            const std::string_view name = nameOf(entries[photos[p]].path);
            byStem.claim(stemOf(name), static_cast<int>(p));
            byName.claim(name, static_cast<int>(p));
        }
        const auto isFile = [&](const FolderEntry& entry) {
            return entry.type == EntryType::file || entry.type == EntryType::link ||
                   (entry.type == EntryType::unknown && fileSystem.isFileOrLink(entry.path));
        };
        // RAW files first: their own sidecars are named after them.
        for (const Candidate& c : candidates) {
            const int owner = byStem.ownerOf(stemOf(c.name));
            if (c.isRaw && owner >= 0 && isFile(entries[c.entry])) {
                companions[owner].push_back(c.entry);
                byName.claim(c.name, owner);
            }
        }
        for (const Candidate& c : candidates) {
            if (c.isRaw) continue;
            const std::string_view key = stemOf(c.name);
            const int owner = agree(c.namedByStem ? byStem.ownerOf(key) : kNobody,
                                    c.namedByFullName ? byName.ownerOf(key) : kNobody);
            if (owner >= 0 && isFile(entries[c.entry])) {
                companions[owner].push_back(c.entry);
            }
        }
    }
    // RAW files come first, then sidecars, each in the listing's order.
    std::deque<QueueEntry> queue;
    for (std::size_t p = 0; p < photos.size(); ++p) {
        QueueEntry entry{std::move(entries[photos[p]].path), {}};
        for (const std::size_t i : companions[p]) {
            entry.companions.push_back(std::move(entries[i].path));
        }
        queue.push_back(std::move(entry));
    }
    return queue;
}

}  // namespace vesko
