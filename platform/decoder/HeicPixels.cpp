#include "platform/decoder/HeicPixels.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <vector>

#include <libyuv/planar_functions.h>
#include <libyuv/scale.h>

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/Parallel.h"

namespace vesko::decoder {
namespace {

Raster shrinkInterleaved(const heif_image* image, bool hasAlpha, Size size, DisplayBound bound) {
    const int bytesPerPixel = hasAlpha ? 4 : 3;
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!plane || stride < size.width * bytesPerPixel ||
        heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved) != 8) {
        return {};
    }
    return shrinkInMemory(plane, std::size_t(stride), bytesPerPixel, size, fitWithin(size, bound),
                          hasAlpha);
}

// Rows of R, G, B and, where there is one, alpha planes, interleaved as the scaler wants them.
// Deeper than 8 bits (libheif keeps a 10-bit picture at its depth when asked for planes), each
// sample is rounded to 8.
struct Planes {
    std::array<const std::uint8_t*, 4> data{};
    std::array<std::size_t, 4> strides{};
    int count = 0;
    int bits = 8;
};

template <typename Sample, int Channels>
const std::uint8_t* interleave(const Planes& planes, int y, int width,
                               std::vector<std::uint8_t>& scratch) {
    std::array<const Sample*, Channels> rows{};
    for (int c = 0; c < Channels; ++c) {
        rows[c] =
            reinterpret_cast<const Sample*>(planes.data[c] + std::size_t(y) * planes.strides[c]);
    }
    scratch.resize(std::size_t(width) * Channels);
    std::uint8_t* to = scratch.data();
    const unsigned top = (1u << planes.bits) - 1;
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < Channels; ++c) {
            if constexpr (sizeof(Sample) == 1) {
                *to++ = rows[c][x];
            } else {
                const unsigned value = std::min<unsigned>(rows[c][x], top);
                *to++ = std::uint8_t((value * 255 + top / 2) / top);
            }
        }
    }
    return scratch.data();
}

template <typename Sample>
RowReader planarRows(const Planes& planes, int width) {
    return [planes, width](int y, std::vector<std::uint8_t>& scratch) {
        return planes.count == 4 ? interleave<Sample, 4>(planes, y, width, scratch)
                                 : interleave<Sample, 3>(planes, y, width, scratch);
    };
}

constexpr heif_channel kChannels[4] = {heif_channel_R, heif_channel_G, heif_channel_B,
                                       heif_channel_Alpha};

Planes planesOf(const heif_image* image, bool hasAlpha) {
    Planes planes;
    planes.count = hasAlpha ? 4 : 3;
    planes.bits = heif_image_get_bits_per_pixel_range(image, heif_channel_R);
    for (int c = 0; c < planes.count; ++c) {
        int stride = 0;
        planes.data[c] = heif_image_get_plane_readonly(image, kChannels[c], &stride);
        planes.strides[c] = std::size_t(stride);
    }
    return planes;
}

// Opaque 8-bit pictures, the usual case, go through libyuv's box filter plane by plane, the
// top and bottom halves on two threads: several times faster than the general scaler.
Raster boxShrink(const Planes& planes, Size size, Size target) {
    Raster out = makeRasterToOverwrite(target.width, target.height, false);
    std::array<std::vector<std::uint8_t>, 3> shrunk;
    try {
        for (auto& plane : shrunk) plane.resize(std::size_t(target.width) * target.height);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (out.pixels.empty()) return {};
    const auto band = [&](int firstRow, int endRow, int firstSourceRow, int endSourceRow) {
        if (endRow <= firstRow) return;
        for (int c = 0; c < 3; ++c) {
            libyuv::ScalePlane(planes.data[c] + std::size_t(firstSourceRow) * planes.strides[c],
                               int(planes.strides[c]), size.width, endSourceRow - firstSourceRow,
                               shrunk[c].data() + std::size_t(firstRow) * target.width,
                               target.width, target.width, endRow - firstRow, libyuv::kFilterBox);
        }
    };
    const int middle = target.height / 2;
    const int sourceMiddle = int(std::int64_t(middle) * size.height / target.height);
    inParallel([&] { band(0, middle, 0, sourceMiddle); },
               [&] { band(middle, target.height, sourceMiddle, size.height); });
    // libyuv's ARGB is B, G, R, A in memory: red goes where it puts blue.
    libyuv::MergeARGBPlane(shrunk[2].data(), target.width, shrunk[1].data(), target.width,
                           shrunk[0].data(), target.width, nullptr, 0, out.pixels.data(),
                           target.width * 4, target.width, target.height);
    return out;
}

Raster shrinkPlanar(const heif_image* image, bool hasAlpha, Size size, DisplayBound bound) {
    if (!planesShareDepth(image, hasAlpha)) return {};
    const Planes planes = planesOf(image, hasAlpha);
    if (planes.bits == 8 && !hasAlpha) return boxShrink(planes, size, fitWithin(size, bound));
    const RowReader rows = planes.bits == 8 ? planarRows<std::uint8_t>(planes, size.width)
                                            : planarRows<std::uint16_t>(planes, size.width);
    return shrinkInMemory(rows, planes.count, size, fitWithin(size, bound), hasAlpha);
}

}  // namespace

Size pictureSize(const heif_image* image, bool planar) {
    const heif_channel first = planar ? heif_channel_R : heif_channel_interleaved;
    return {heif_image_get_width(image, first), heif_image_get_height(image, first)};
}

bool planesShareDepth(const heif_image* image, bool hasAlpha) {
    const Size size = pictureSize(image, true);
    const int bits = heif_image_get_bits_per_pixel_range(image, heif_channel_R);
    if (bits < 8 || bits > 16) return false;
    for (int c = 0; c < (hasAlpha ? 4 : 3); ++c) {
        int stride = 0;
        const int bytesPerSample = bits > 8 ? 2 : 1;
        if (!heif_image_get_plane_readonly(image, kChannels[c], &stride) ||
            heif_image_get_width(image, kChannels[c]) != size.width ||
            heif_image_get_height(image, kChannels[c]) != size.height ||
            heif_image_get_bits_per_pixel_range(image, kChannels[c]) != bits ||
            stride < size.width * bytesPerSample) {
            return false;
        }
    }
    return true;
}

Raster shrinkPicture(const heif_image* image, bool planar, bool hasAlpha, Size size,
                     DisplayBound bound) {
    return planar ? shrinkPlanar(image, hasAlpha, size, bound)
                  : shrinkInterleaved(image, hasAlpha, size, bound);
}

}  // namespace vesko::decoder
