#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/DecodedImage.h"
#include "platform/ImageDecoder.h"
#include "platform/decoder/DisplayBound.h"

namespace vesko::decoder {

enum class Format { Unknown, Jpeg, Png, Webp, Heic };

// Tells the format from the first bytes of a file.
Format sniffFormat(std::span<const std::uint8_t> bytes);

// Each decodes a whole file held in memory; null when it yields no pixels.
ImageHandle decodeJpeg(std::span<const std::uint8_t> bytes, DisplayBound bound);
ImageHandle decodePng(std::span<const std::uint8_t> bytes, DisplayBound bound);
ImageHandle decodeWebp(std::span<const std::uint8_t> bytes, DisplayBound bound);
ImageHandle decodeHeic(std::span<const std::uint8_t> bytes, DisplayBound bound);

ImageHandle decodeAny(std::span<const std::uint8_t> bytes, DisplayBound bound);

// A JPEG's upright size from its header, and a region of it at full resolution: only the rows
// and columns of blocks that hold the region are decoded.
std::optional<PixelSize> jpegSize(std::span<const std::uint8_t> bytes);
ImageHandle decodeJpegRegion(std::span<const std::uint8_t> bytes, PixelRect region);
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
