#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vesko::decoder {

// The orientation (1 to 8) recorded in an EXIF block, or 1 when there is none or the block is
// damaged. Accepts the TIFF structure with or without the "Exif\0\0" prefix that JPEG's APP1
// segment carries.
int exifOrientation(std::span<const std::uint8_t> exif);

}  // namespace vesko::decoder
