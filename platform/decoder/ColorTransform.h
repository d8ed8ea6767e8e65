#pragma once

#include <cstdint>
#include <span>

#include "platform/decoder/Raster.h"

namespace vesko::decoder {

// A colour description given as coded numbers (ITU-T H.273), as HEIC files carry it.
struct CodedColor {
    int primaries = 2;
    int transfer = 2;
};

// Convert the raster's pixels in place to sRGB. An unusable or unsupported description, or one
// that is sRGB already, leaves the pixels as they are: they are then taken as sRGB.
void convertIccToSrgb(Raster& raster, std::span<const std::uint8_t> iccProfile);
void convertCodedToSrgb(Raster& raster, CodedColor color);
// Adobe RGB (1998), which cameras set as their colour space without embedding a profile.
void convertAdobeRgbToSrgb(Raster& raster);

// Turns CMYK pixels (4 bytes each, in place) into opaque RGBA. With a CMYK ICC profile the
// conversion goes through it; without one (or when it is unusable) a plain formula is used.
// `inverted` is Adobe's convention of storing 255 - value.
void convertCmykToSrgb(Raster& raster, std::span<const std::uint8_t> iccProfile, bool inverted);

}  // namespace vesko::decoder
