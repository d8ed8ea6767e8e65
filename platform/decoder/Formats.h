#pragma once

#include <cstdint>
#include <span>

#include "platform/DecodedImage.h"
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

}  // namespace vesko::decoder
