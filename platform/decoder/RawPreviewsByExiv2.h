#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/DecodedImage.h"
#include "platform/decoder/Geometry.h"

namespace vesko::decoder {

class RegularFile;

// What a camera RAW's EXIF says of the previews it holds.
struct RawExif {
    int orientation = 1;    // EXIF's numbering
    bool adobeRgb = false;  // else sRGB
    Size stored;            // the photo as the camera stored it, before the turn; empty if unsaid
};

// Hands the JPEG previews that exiv2 finds in a camera RAW file (CR3's included), largest
// first, with what the file's EXIF says of them, to `show` until it gives an image; returns that
// image, or null when none did or exiv2 cannot read the file. For the cameras that LibRaw does
// not know. Never throws; safe on several threads at once.
using ShowPreview = std::function<ImageHandle(std::span<const std::uint8_t> jpeg, const RawExif&)>;
ImageHandle showLargestPreviewByExiv2(std::span<const std::uint8_t> bytes, const ShowPreview& show);
ImageHandle showLargestPreviewByExiv2(const RegularFile& file, const ShowPreview& show);

}  // namespace vesko::decoder
