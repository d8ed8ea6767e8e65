#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vesko {

// One shot of the queue (a photo, or a RAW file no photo claims) with the files that move
// with it: its RAW files and sidecars.
struct QueueEntry {
    std::string path;
    std::vector<std::string> companions;

    bool operator==(const QueueEntry&) const = default;
};

// Whether a name has one of the photo extensions the classifier shows, in any letter case.
bool isPhotoName(std::string_view name);
// Whether a name has one of the RAW extensions, in any letter case.
bool isRawName(std::string_view name);

// The photos of one listing in the order of their names, each with its companions when
// `withCompanions`: the files directly beside it named by its stem and a RAW extension, by its stem
// and "xmp" or "aae", or by its own or its RAW's full name and "xmp", "pp3" or "dop". Extensions
// match in any case, stems exactly. A file that two photos could claim stays with neither.
// With `withCompanions`, a RAW file whose stem no photo has is a shot of its own, with its
// sidecars by the same rules. Only regular files and symbolic links are companions or RAW
// shots; `fileSystem` is asked only where the listing did not say what an entry is.
std::deque<QueueEntry> photosWithCompanions(std::vector<FolderEntry> entries, bool withCompanions,
                                            const FileSystem& fileSystem);

}  // namespace vesko
