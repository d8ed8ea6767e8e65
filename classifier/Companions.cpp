#include "Companions.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

using Owners = std::unordered_map<std::string_view, int>;

void claim(Owners& owners, std::string_view key, int photo) {
    const auto [it, added] = owners.try_emplace(key, photo);
    if (!added && it->second != photo) {
        it->second = kAmbiguous;
    }
}

int ownerIn(const Owners& owners, std::string_view key) {
    const auto it = owners.find(key);
    return it == owners.end() ? kNobody : it->second;
}

// One owner from two rules: nobody where neither names one, none where they disagree.
int agree(int a, int b) {
    if (a == kNobody) return b;
    if (b == kNobody || a == b) return a;
    return kAmbiguous;
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
    if (withCompanions) {
        Owners byStem;  // a photo's stem
        Owners byName;  // a photo's or its RAW's full name
        for (std::size_t p = 0; p < photos.size(); ++p) {
            const std::string_view name = nameOf(entries[photos[p]].path);
            claim(byStem, stemOf(name), static_cast<int>(p));
            claim(byName, name, static_cast<int>(p));
        }
        const auto isFile = [&](const FolderEntry& entry) {
            return entry.type == EntryType::file || entry.type == EntryType::link ||
                   (entry.type == EntryType::unknown && fileSystem.isFileOrLink(entry.path));
        };
        // RAW files first: their own sidecars are named after them.
        std::vector<std::size_t> sidecars;
        for (const std::size_t i : others) {
            const std::string_view name = nameOf(entries[i].path);
            const std::string extension = lowerExtension(name, 3);
            if (isOneOf(extension, kRawExtensions)) {
                const int owner = ownerIn(byStem, stemOf(name));
                if (owner >= 0 && isFile(entries[i])) {
                    companions[owner].push_back(i);
                    claim(byName, name, owner);
                }
            } else if (extension == "xmp" || extension == "aae" || extension == "pp3" ||
                       extension == "dop") {
                sidecars.push_back(i);
            }
        }
        for (const std::size_t i : sidecars) {
            const std::string_view name = nameOf(entries[i].path);
            const std::string extension = lowerExtension(name, 3);
            const bool namedByStem = extension == "xmp" || extension == "aae";
            const bool namedByFullName = extension != "aae";
            const int owner = agree(namedByStem ? ownerIn(byStem, stemOf(name)) : kNobody,
                                    namedByFullName ? ownerIn(byName, stemOf(name)) : kNobody);
            if (owner >= 0 && isFile(entries[i])) {
                companions[owner].push_back(i);
            }
        }
    }
    std::deque<QueueEntry> queue;
    for (std::size_t p = 0; p < photos.size(); ++p) {
        std::ranges::sort(companions[p]);
        QueueEntry entry{std::move(entries[photos[p]].path), {}};
        for (const std::size_t i : companions[p]) {
            entry.companions.push_back(std::move(entries[i].path));
        }
        queue.push_back(std::move(entry));
    }
    return queue;
}

}  // namespace vesko
