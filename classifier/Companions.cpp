#include "Companions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
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
        const std::size_t hash = hashOf(key);
        Slot& slot = slots_[find(key, hash)];
        count_ += slot.used ? 0 : 1;
        slot = {key, hash, slot.owner, true};
    }

    // `hash` is hashOf(key), worked out while the key's bytes were at hand.
    void claim(std::string_view key, std::size_t hash, int photo) {
        if (count_ == 0) return;
        Slot& slot = slots_[find(key, hash)];
        if (slot.used) {
            slot.owner = slot.owner == kNobody || slot.owner == photo ? photo : kAmbiguous;
        }
    }

    int ownerOf(std::string_view key) const {
        if (count_ == 0) return kNobody;
        const Slot& slot = slots_[find(key, hashOf(key))];
        return slot.used ? slot.owner : kNobody;
    }

private:
    struct Slot {
        std::string_view key;
        std::size_t hash = 0;
        int owner = kNobody;
        bool used = false;
    };

public:
    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

private:
    // The slot that holds `key`, or the free one where it would go.
    std::size_t find(std::string_view key, std::size_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].used && (slots_[i].hash != hash || slots_[i].key != key)) {
            i = (i + 1) & mask;
        }
        return i;
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
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
    // The names are hashed in the one pass that reads them: a second pass over a hundred
    // thousand names would wait on memory for each.
    struct PhotoKeys {
        std::size_t stemHash;
        std::size_t nameHash;
    };
    std::vector<std::size_t> photos;
    std::vector<PhotoKeys> photoKeys;
    std::vector<std::size_t> others;
    std::vector<std::string_view> names(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        names[i] = nameOf(entries[i].path);
        if (!isPhotoName(names[i])) {
            others.push_back(i);
        } else {
            photos.push_back(i);
            if (withCompanions) {
                photoKeys.push_back({Owners::hashOf(stemOf(names[i])), Owners::hashOf(names[i])});
            }
        }
    }
    std::vector<Candidate> candidates;
    if (withCompanions) {
        for (const std::size_t i : others) {
            if (auto candidate = candidateFor(i, names[i])) {
                candidates.push_back(*candidate);
            }
        }
    }
    // The photo each candidate goes with, and how many go with each photo.
    std::vector<int> owners(candidates.size(), kNobody);
    std::vector<std::uint32_t> counts(candidates.empty() ? 0 : photos.size());
    if (!candidates.empty()) {
        Owners byStem(candidates.size());
        Owners byName(candidates.size());
        for (const Candidate& c : candidates) {
            if (c.namedByStem) byStem.add(stemOf(c.name));
            if (c.namedByFullName) byName.add(stemOf(c.name));
        }
        for (std::size_t p = 0; p < photos.size(); ++p) {
            const std::string_view name = names[photos[p]];
            byStem.claim(stemOf(name), photoKeys[p].stemHash, static_cast<int>(p));
            byName.claim(name, photoKeys[p].nameHash, static_cast<int>(p));
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
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            const Candidate& c = candidates[k];
            if (!c.isRaw) {
                const std::string_view key = stemOf(c.name);
                take(k, agree(c.namedByStem ? byStem.ownerOf(key) : kNobody,
                              c.namedByFullName ? byName.ownerOf(key) : kNobody));
            }
        }
    }
    std::deque<QueueEntry> queue;
    for (std::size_t p = 0; p < photos.size(); ++p) {
        queue.push_back({std::move(entries[photos[p]].path), {}});
        if (!counts.empty() && counts[p] > 0) {
            queue.back().companions.reserve(counts[p]);
        }
    }
    // RAW files come first, then sidecars, each in the listing's order.
    for (const bool raw : {true, false}) {
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            if (owners[k] >= 0 && candidates[k].isRaw == raw) {
                queue[owners[k]].companions.push_back(std::move(entries[candidates[k].entry].path));
            }
        }
    }
    return queue;
}

}  // namespace vesko
