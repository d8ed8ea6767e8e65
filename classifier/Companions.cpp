#include "Companions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <optional>

#include "NameOrder.h"
#include "platform/Paths.h"

namespace vesko {
namespace {

// An extension of at most four bytes, lowered, as one number: a folder's every name is
// checked against these lists, and numbers compare without a call.
constexpr std::uint32_t packed(std::string_view extension) {
    if (extension.size() > 4) return 0;
    std::uint32_t value = 0;
    for (const char c : extension) {
        const auto byte = static_cast<std::uint8_t>(c);
        value = value << 8 | (byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    return value;
}

template <typename... Names>
constexpr auto packedList(Names... names) {
    return std::array<std::uint32_t, sizeof...(Names)>{packed(names)...};
}

constexpr auto kPhotoExtensions = packedList("jpg", "jpeg", "png", "heic", "webp");
constexpr auto kRawExtensions = packedList(
    "3fr", "arw", "cr2", "cr3", "crw", "dcr", "dng", "erf", "fff", "iiq", "kdc", "mef", "mos",
    "mrw", "nef", "nrw", "orf", "pef", "raf", "rw2", "rwl", "sr2", "srf", "srw", "x3f");
constexpr std::uint32_t kXmp = packed("xmp");
constexpr std::uint32_t kAae = packed("aae");
constexpr std::uint32_t kPp3 = packed("pp3");
constexpr std::uint32_t kDop = packed("dop");

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

bool isOneOf(std::uint32_t extension, std::span<const std::uint32_t> list) {
    return extension != 0 && std::ranges::find(list, extension) != list.end();
}

// The names that some companion could point to, each with the photo it points to: kNobody
// until a photo claims it, kAmbiguous once two do. Only such names are held, so a folder costs
// what its companions cost; open addressing, because every photo of a folder of a hundred
// thousand is looked up and a node per name costs more than the listing itself.
class Owners {
public:
    explicit Owners(std::size_t expected) : slots_(std::bit_ceil(2 * expected + 2)) {
        keys_.reserve(expected);
    }

    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

    void add(std::string_view key) {
        const std::size_t hash = hashOf(key);
        Slot& slot = slots_[find(key, hash)];
        if (slot.key == kFree) {
            slot = {hash, static_cast<std::uint32_t>(keys_.size()), kNobody};
            keys_.push_back(key);
        }
    }

    // `hash` is hashOf(key), worked out while the key's bytes were at hand.
    void claim(std::string_view key, std::size_t hash, int photo) {
        if (keys_.empty()) return;
        Slot& slot = slots_[find(key, hash)];
        if (slot.key != kFree) {
            slot.owner = slot.owner == kNobody || slot.owner == photo ? photo : kAmbiguous;
        }
    }

    int ownerOf(std::string_view key) const {
        if (keys_.empty()) return kNobody;
        const Slot& slot = slots_[find(key, hashOf(key))];
        return slot.key == kFree ? kNobody : slot.owner;
    }

private:
    static constexpr std::uint32_t kFree = UINT32_MAX;

    // Small, so that a table for a hundred thousand names stays in cache.
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t key = kFree;
        int owner = kNobody;
    };

    // The slot that holds `key`, or the free one where it would go.
    std::size_t find(std::string_view key, std::size_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].key != kFree && (slots_[i].hash != hash || keys_[slots_[i].key] != key)) {
            i = (i + 1) & mask;
        }
        return i;
    }

    std::vector<Slot> slots_;
    std::vector<std::string_view> keys_;
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
    const std::uint32_t extension = packed(pathExtension(name));
    if (isOneOf(extension, kRawExtensions)) {
        return Candidate{entry, name, true, true, false};
    }
    if (extension == kXmp || extension == kAae || extension == kPp3 || extension == kDop) {
        return Candidate{entry, name, false, extension == kXmp || extension == kAae,
                         extension != kAae};
    }
    return std::nullopt;
}

}  // namespace

bool isPhotoName(std::string_view name) {
    return isOneOf(packed(pathExtension(nameOf(name))), kPhotoExtensions);
}

bool isRawName(std::string_view name) {
    return isOneOf(packed(pathExtension(nameOf(name))), kRawExtensions);
}

std::deque<QueueEntry> photosWithCompanions(std::vector<FolderEntry> entries, bool withCompanions,
                                            const FileSystem& fileSystem) {
    // A photo's names are hashed in the pass that reads them, once a companion has been seen:
    // a second pass over a hundred thousand names would wait on memory for each, and a folder
    // without companions needs no hashes at all.
    struct PhotoKeys {
        std::string_view name;
        std::string_view stem;
        std::size_t nameHash = 0;
        std::size_t stemHash = 0;
    };
    const auto keysOf = [](std::string_view name) {
        const std::string_view stem = stemOf(name);
        return PhotoKeys{name, stem, Owners::hashOf(name), Owners::hashOf(stem)};
    };
    std::vector<std::size_t> photos;
    std::vector<PhotoKeys> photoKeys;
    std::vector<Candidate> candidates;
    std::size_t hashedFrom = 0;  // photos before this one were met before any companion
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view name = nameOf(entries[i].path);
        if (isPhotoName(name)) {
            photos.push_back(i);
            if (withCompanions)
                photoKeys.push_back(candidates.empty() ? PhotoKeys{} : keysOf(name));
        } else if (!withCompanions) {
            continue;
        } else if (auto candidate = candidateFor(i, name)) {
            if (candidates.empty()) hashedFrom = photos.size();
            candidates.push_back(*candidate);
        }
    }
    for (std::size_t p = 0; !candidates.empty() && p < hashedFrom; ++p) {
        photoKeys[p] = keysOf(nameOf(entries[photos[p]].path));
    }
    // The shot each candidate goes with, and how many go with each shot; shots are the photos,
    // then the RAW files that are shots of their own.
    std::vector<int> owners(candidates.size(), kNobody);
    std::vector<std::size_t> rawShots;  // entries
    std::vector<std::uint32_t> counts(candidates.empty() ? 0 : photos.size());
    if (!candidates.empty()) {
        const auto named = [&](bool Candidate::*rule) {
            return static_cast<std::size_t>(std::ranges::count(candidates, true, rule));
        };
        Owners byStem(named(&Candidate::namedByStem));
        Owners byName(named(&Candidate::namedByFullName));
        for (const Candidate& c : candidates) {
            if (c.namedByStem) byStem.add(stemOf(c.name));
            if (c.namedByFullName) byName.add(stemOf(c.name));
        }
        for (std::size_t p = 0; p < photos.size(); ++p) {
            const PhotoKeys& keys = photoKeys[p];
            byStem.claim(keys.stem, keys.stemHash, static_cast<int>(p));
            byName.claim(keys.name, keys.nameHash, static_cast<int>(p));
        }
        const auto isFile = [&](const FolderEntry& entry) {
            return entry.type == EntryType::file || entry.type == EntryType::link ||
                   (entry.type == EntryType::unknown && fileSystem.isFileOrLink(entry.path));
        };
        const auto take = [&](std::size_t k, int owner) {
            if (owner >= 0 && isFile(entries[candidates[k].entry])) {
                owners[k] = owner;
                ++counts[owner];
            }
        };
        // RAW files first: their own sidecars are named after them.
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            if (candidates[k].isRaw) {
                take(k, byStem.ownerOf(stemOf(candidates[k].name)));
                if (owners[k] >= 0) {
                    byName.claim(candidates[k].name, Owners::hashOf(candidates[k].name), owners[k]);
                }
            }
        }
        // A RAW file whose stem no photo names is a shot of its own, after every photo has had
        // its say, so that its sidecars go with it by the same two rules.
        std::vector<std::size_t> rawShotCandidates;
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            const Candidate& c = candidates[k];
            if (c.isRaw && byStem.ownerOf(stemOf(c.name)) == kNobody && isFile(entries[c.entry])) {
                rawShotCandidates.push_back(k);
            }
        }
        for (const std::size_t k : rawShotCandidates) {
            const Candidate& c = candidates[k];
            const int shot = static_cast<int>(photos.size() + rawShots.size());
            rawShots.push_back(c.entry);
            byStem.claim(stemOf(c.name), Owners::hashOf(stemOf(c.name)), shot);
            byName.claim(c.name, Owners::hashOf(c.name), shot);
        }
        counts.resize(photos.size() + rawShots.size());
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            const Candidate& c = candidates[k];
            if (!c.isRaw) {
                const std::string_view key = stemOf(c.name);
                take(k, agree(c.namedByStem ? byStem.ownerOf(key) : kNobody,
                              c.namedByFullName ? byName.ownerOf(key) : kNobody));
            }
        }
    }
    // Photos and RAW shots in the order of their names.
    const auto entryOf = [&](std::size_t shot) {
        return shot < photos.size() ? photos[shot] : rawShots[shot - photos.size()];
    };
    std::vector<std::string_view> names(photos.size() + rawShots.size());
    for (std::size_t shot = 0; shot < names.size(); ++shot) {
        names[shot] = nameOf(entries[entryOf(shot)].path);
    }
    // The companions of each shot, RAW files first, then sidecars, each in the listing's order.
    std::vector<std::vector<std::string>> companionsOf(counts.size());
    for (const bool raw : {true, false}) {
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            if (owners[k] >= 0 && candidates[k].isRaw == raw) {
                std::vector<std::string>& companions = companionsOf[owners[k]];
                if (companions.empty()) companions.reserve(counts[owners[k]]);
                companions.push_back(std::move(entries[candidates[k].entry].path));
            }
        }
    }
    // The shots leave the listing's order here: each is fetched ahead, as a hundred thousand
    // waits on memory would cost more than the sort.
    const std::vector<std::size_t> order = inNameOrder(names);
    constexpr std::size_t kAhead = 16;
    std::deque<QueueEntry> queue;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i + kAhead < order.size()) {
            __builtin_prefetch(&entries[entryOf(order[i + kAhead])]);
            if (!companionsOf.empty()) __builtin_prefetch(&companionsOf[order[i + kAhead]]);
        }
        const std::size_t shot = order[i];
        queue.push_back(
            {std::move(entries[entryOf(shot)].path),
             companionsOf.empty() ? std::vector<std::string>{} : std::move(companionsOf[shot])});
    }
    return queue;
}

}  // namespace vesko
