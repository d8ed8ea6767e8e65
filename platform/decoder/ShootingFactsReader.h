#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/ShootingFacts.h"

namespace vesko::decoder {

// The shooting facts in a photo file held in memory (JPEG, HEIC, WebP, PNG, TIFF-based RAW),
// read by exiv2 from those bytes without a copy; empty fields where the file has none, or
// holds nothing exiv2 can read. Never throws; safe on several threads at once.
ShootingFacts readShootingFacts(std::span<const std::uint8_t> bytes);

// The same from a bare EXIF block: a TIFF header and its IFDs, as HEIC and WebP hold it.
ShootingFacts shootingFactsOfExif(std::span<const std::uint8_t> tiff);

// The same from a file: most photos hold their facts near the start, so that the rest is read
// only where the start tells no capture time.
ShootingFacts readShootingFactsOfFile(const std::filesystem::path& file);

// exiv2's set-up, done once whoever calls it first; before any other use of exiv2.
void prepareExiv2();

}  // namespace vesko::decoder
