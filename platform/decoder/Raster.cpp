#include "platform/decoder/Raster.h"

#include <cstring>
#include <new>

namespace vesko::decoder {
namespace {

std::uint8_t multiplyByAlpha(unsigned colour, unsigned alpha) {
    const unsigned t = colour * alpha + 128;
    return std::uint8_t((t + (t >> 8)) >> 8);
}

// Where, in the stored pixels, the turned image's top-left pixel comes from, and how far one
// step right and one step down in the turned image move in the stored one (in pixels).
struct Walk {
    long origin;
    long stepX;
    long stepY;
};

Walk walkFor(int orientation, long width, long height) {
    switch (orientation) {
        case 2:
            return {width - 1, -1, width};
        case 3:
            return {width * height - 1, -1, -width};
        case 4:
            return {(height - 1) * width, 1, -width};
        case 5:
            return {0, width, 1};
        case 6:
            return {(height - 1) * width, -width, 1};
        case 7:
            return {width * height - 1, -width, -1};
        case 8:
            return {width - 1, width, -1};
        default:
            return {0, 1, width};
    }
}

Raster turned(const Raster& source, int orientation) {
    const bool swapsAxes = orientation >= 5 && orientation <= 8;
    Raster out = makeRasterToOverwrite(swapsAxes ? source.height : source.width,
                                       swapsAxes ? source.width : source.height, source.hasAlpha);
    if (out.pixels.empty()) return out;
    out.premultiplied = source.premultiplied;
    const Walk walk = walkFor(orientation, source.width, source.height);
    const auto* from = reinterpret_cast<const std::uint32_t*>(source.pixels.data());
    auto* to = reinterpret_cast<std::uint32_t*>(out.pixels.data());
    for (long y = 0; y < out.height; ++y) {
        const std::uint32_t* pixel = from + walk.origin + y * walk.stepY;
        for (long x = 0; x < out.width; ++x, pixel += walk.stepX) *to++ = *pixel;
    }
    return out;
}

Raster rasterFrom(int width, int height, bool hasAlpha, PixelPool::Start start) {
    Raster raster;
    raster.width = width;
    raster.height = height;
    raster.hasAlpha = hasAlpha;
    if (width > 0 && height > 0) {
        raster.pixels = PixelPool::shared().take(std::size_t(width) * height * 4, start);
    }
    return raster;
}

}  // namespace

Raster makeRaster(int width, int height, bool hasAlpha) {
    return rasterFrom(width, height, hasAlpha, PixelPool::Start::Zeroed);
}

Raster makeRasterToOverwrite(int width, int height, bool hasAlpha) {
    return rasterFrom(width, height, hasAlpha, PixelPool::Start::Undefined);
}

void premultiply(std::uint8_t* rgba, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i, rgba += 4) {
        const unsigned alpha = rgba[3];
        if (alpha == 255) continue;
        rgba[0] = multiplyByAlpha(rgba[0], alpha);
        rgba[1] = multiplyByAlpha(rgba[1], alpha);
        rgba[2] = multiplyByAlpha(rgba[2], alpha);
    }
}

void unpremultiply(std::uint8_t* rgba, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i, rgba += 4) {
        const unsigned alpha = rgba[3];
        if (alpha == 255 || alpha == 0) continue;
        for (int c = 0; c < 3; ++c) {
            const unsigned value = (rgba[c] * 255u + alpha / 2) / alpha;
            rgba[c] = std::uint8_t(value > 255 ? 255 : value);
        }
    }
}

ImageHandle finish(Raster raster, int orientation) {
    if (raster.width <= 0 || raster.height <= 0 || raster.pixels.empty()) return nullptr;
    if (orientation >= 2 && orientation <= 8) {
        raster = turned(raster, orientation);
        if (raster.pixels.empty()) return nullptr;
    }
    if (raster.hasAlpha && !raster.premultiplied) {
        premultiply(raster.pixels.data(), raster.pixels.size() / 4);
    }
    const std::size_t bytesPerLine = std::size_t(raster.width) * 4;
    try {
        const auto pixels = std::make_shared<const PixelBuffer>(std::move(raster.pixels));
        return std::make_shared<const DecodedImage>(
            raster.width, raster.height, bytesPerLine,
            std::shared_ptr<const std::uint8_t>(pixels, pixels->data()), pixels->size(),
            raster.hasAlpha);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace vesko::decoder
