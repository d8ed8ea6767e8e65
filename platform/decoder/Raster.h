#pragma once

#include <cstdint>

#include "platform/DecodedImage.h"
#include "platform/decoder/PixelPool.h"

namespace vesko::decoder {

// Pixels on their way to the screen: 8-bit RGBA, rows packed (width * 4 bytes), as stored in the
// file (not yet turned the right way up).
struct Raster {
    int width = 0;
    int height = 0;
    PixelBuffer pixels;
    bool hasAlpha = false;
    // Whether colour is already multiplied by alpha; irrelevant while hasAlpha is false.
    bool premultiplied = false;

    std::uint8_t* row(int y) { return pixels.data() + std::size_t(y) * width * 4; }
    const std::uint8_t* row(int y) const { return pixels.data() + std::size_t(y) * width * 4; }
};

// Allocates a raster of the given size, transparent black, or returns one without pixels when
// the allocation fails.
Raster makeRaster(int width, int height, bool hasAlpha);
// The same for a decoder that writes every pixel itself: the pixels start out as whatever the
// memory held, often an earlier photo's.
Raster makeRasterToOverwrite(int width, int height, bool hasAlpha);

void premultiply(std::uint8_t* rgba, std::size_t pixelCount);
void unpremultiply(std::uint8_t* rgba, std::size_t pixelCount);

// Turns the raster by an EXIF orientation (1 to 8; anything else counts as 1), premultiplies
// alpha, and hands the pixels over to the screen. Their memory goes back to the decoder's pool
// once the last holder of the image lets go.
ImageHandle finish(Raster raster, int orientation);

}  // namespace vesko::decoder
