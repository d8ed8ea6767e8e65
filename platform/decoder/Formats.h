#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/DecodedImage.h"
#include "platform/ImageDecoder.h"
#include "platform/decoder/DisplayBound.h"
#include "platform/decoder/Geometry.h"

namespace vesko::decoder {

class RegularFile;

enum class Format { Unknown, Jpeg, Png, Webp, Heic, Raw };

// Tells the format from the first bytes of a file. Raw covers the TIFF-based camera RAW formats
// (and plain TIFF, which LibRaw then refuses) and those with a signature of their own.
Format sniffFormat(std::span<const std::uint8_t> bytes);

// A JPEG inside another file (a camera RAW's preview), whose turn and colour space that file
// tells: the JPEG's own EXIF orientation is ignored, so the turn is applied exactly once.
struct EmbeddedJpeg {
    int orientation = 1;    // EXIF's numbering
    bool adobeRgb = false;  // else sRGB, unless the JPEG carries a profile
};

// Each decodes a whole file held in memory; null when it yields no pixels.
ImageHandle decodeJpeg(std::span<const std::uint8_t> bytes, DisplayBound bound,
                       std::optional<EmbeddedJpeg> embedded = std::nullopt);
ImageHandle decodePng(std::span<const std::uint8_t> bytes, DisplayBound bound);
ImageHandle decodeWebp(std::span<const std::uint8_t> bytes, DisplayBound bound);
ImageHandle decodeHeic(std::span<const std::uint8_t> bytes, DisplayBound bound);
// A camera RAW: its embedded JPEG preview, or its raw data at half size when the preview is
// too small for `bound` (or missing, or undecodable).
ImageHandle decodeRaw(std::span<const std::uint8_t> bytes, DisplayBound bound);
// The same from a file on disk, of which only the parts LibRaw looks at and the preview are read.
ImageHandle decodeRaw(const RegularFile& file, DisplayBound bound);

ImageHandle decodeAny(std::span<const std::uint8_t> bytes, DisplayBound bound);

// A JPEG's upright size from its header, and a region of it at full resolution: only the rows
// and columns of blocks that hold the region are decoded.
std::optional<PixelSize> jpegSize(std::span<const std::uint8_t> bytes);
std::optional<Size> jpegStoredSize(std::span<const std::uint8_t> bytes);  // before any turn
// Whether a region costs about its own rows and columns: a baseline JPEG, not a progressive one.
bool jpegDecodesRegionsAlone(std::span<const std::uint8_t> bytes);
ImageHandle decodeJpegRegion(std::span<const std::uint8_t> bytes, PixelRect region,
                             std::optional<EmbeddedJpeg> embedded = std::nullopt);
// A RAW's size and regions at full resolution are its preview's, where the preview is the
// sensor's size; nothing otherwise.
std::optional<PixelSize> rawSize(std::span<const std::uint8_t> bytes);
std::optional<PixelSize> rawSize(const RegularFile& file);
ImageHandle decodeRawRegion(std::span<const std::uint8_t> bytes, PixelRect region);
ImageHandle decodeRawRegion(const RegularFile& file, PixelRect region);
bool rawDecodesRegionsAlone(const RegularFile& file);
// The upright size of a HEIC (its primary image's description), a PNG or a WebP (their
// headers and EXIF orientation).
std::optional<PixelSize> heicSize(std::span<const std::uint8_t> bytes);
std::optional<PixelSize> pngSize(std::span<const std::uint8_t> bytes);
std::optional<PixelSize> webpSize(std::span<const std::uint8_t> bytes);

// A HEIC's EXIF block (a TIFF header and what follows it), as libheif finds it; empty when
// there is none.
std::vector<std::uint8_t> heicExif(std::span<const std::uint8_t> bytes);

// The upright size of any format, and a region of it at full resolution. Where a format gives
// no cheaper way (PNG, WebP, HEIC with libheif 1.15, which decodes a grid only whole), the
// whole image is decoded at full resolution and the region cut from it.
std::optional<PixelSize> sizeOfAny(std::span<const std::uint8_t> bytes);
ImageHandle decodeRegionOfAny(std::span<const std::uint8_t> bytes, PixelRect region);

}  // namespace vesko::decoder
