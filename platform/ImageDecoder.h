#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DecodedImage.h"

namespace vesko {

// Why a file gave no image, as far as a quick look at it tells.
enum class DecodeProblem {
    none,
    unknown,      // the decoder cannot say
    unreadable,   // missing, not a regular file, no permission, or too large to read
    notAnImage,   // no format the decoder reads
    undecodable,  // a format it reads, but damaged, incomplete or too large to show
    unknownRaw,   // a camera RAW file whose camera the decoder does not know: likely intact
};

// A photo's size at full resolution, the right way up.
struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(PixelSize, PixelSize) = default;
};

// A rectangle of pixels of a photo at full resolution, the right way up.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(PixelRect, PixelRect) = default;
};

// The part of `rect` inside an image of `size`; empty when none is.
inline PixelRect clipped(PixelRect rect, PixelSize size) {
    const long left = std::max(0L, long(rect.x));
    const long top = std::max(0L, long(rect.y));
    const long right = std::min(long(size.width), long(rect.x) + rect.width);
    const long bottom = std::min(long(size.height), long(rect.y) + rect.height);
    if (right <= left || bottom <= top) return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

// Turns a photo file into pixels ready for the screen.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;

    // Reads the file at `file` and decodes it. Returns null when the file cannot be read, holds
    // no image data the decoder recognises, or is refused as unsafe (too many pixels); never
    // throws. Reentrant: may be called on any thread, also on several at once.
    virtual ImageHandle decode(const std::filesystem::path& file) const = 0;

    // Why `file` gave no image, after decode() returned null: a look at the file, not a
    // second decode. Reentrant like decode().
    virtual DecodeProblem whyNoImage(const std::filesystem::path& file) const {
        (void)file;
        return DecodeProblem::unknown;
    }

    // The photo's size at full resolution, turned the right way up, from its header alone;
    // nothing when the decoder cannot tell. Reentrant like decode().
    virtual std::optional<PixelSize> fullSize(const std::filesystem::path& file) const {
        (void)file;
        return std::nullopt;
    }

    // The pixels of `region` (in the upright image at full resolution, clipped to it), turned
    // and colour-converted exactly like decode()'s; null when the decoder cannot, or the file
    // fails. A photo too large to decode whole may still give its regions. Reentrant.
    virtual ImageHandle decodeRegion(const std::filesystem::path& file, PixelRect region) const {
        (void)file;
        (void)region;
        return nullptr;
    }

    // Whether decodeRegion() of `file` decodes about the region alone rather than the whole photo,
    // so that a small region first and a larger one after cost little more than the larger one
    // alone. Reentrant like decode().
    virtual bool decodesRegionsAlone(const std::filesystem::path& file) const {
        (void)file;
        return false;
    }

    // A hint, not a request: the files the caller will likely decode next, soonest first (the
    // one about to be shown included), and any it wants kept at hand because it may ask for them
    // again. A decoder may prepare them ahead and let go of whatever is not named; an empty list
    // lets go of everything. decode() must give the same answer with or without the hint.
    // Called from the thread that calls decode(); does not wait for any decode.
    virtual void expect(const std::vector<std::string>& comingUp) { (void)comingUp; }
};

}  // namespace vesko
