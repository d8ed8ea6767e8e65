#pragma once

#include <filesystem>

#include "platform/decoder/DisplayBound.h"

// What Vesko's decoder is measured against. Each returns a checksum of what it produced, so
// that no work can be skipped, and 0 on failure.
namespace vesko::bench {

using Path = std::filesystem::path;

// The fastest plain call of each library: libjpeg-turbo's DCT-scaled decode to the smallest
// size that covers the bound (no further resize), libwebp's scaled decode, and the full
// decode of libpng and libheif (with its own HEVC decoder, libde265).
unsigned long rawJpegScaled(const Path& file, DisplayBound bound);
unsigned long rawWebpScaled(const Path& file, DisplayBound bound);
unsigned long rawPngFull(const Path& file, DisplayBound bound);
unsigned long rawHeicFull(const Path& file, DisplayBound bound);

// The usual viewer stack: QImageReader::read() at full size, then a smooth scale to the bound.
unsigned long qtFullThenScale(const Path& file, DisplayBound bound);
// QImageReader asked for the final size up front (setScaledSize, setAutoTransform).
unsigned long qtScaledRead(const Path& file, DisplayBound bound);

}  // namespace vesko::bench
