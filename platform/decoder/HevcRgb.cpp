#include "platform/decoder/HevcRgb.h"

#include <libyuv/convert_argb.h>
#include <libyuv/planar_functions.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vesko::decoder {
namespace {

// The matrix libheif would use for this colour description: BT.601 for "unspecified" and what
// it does not know.
const libyuv::YuvConstants* matrixOf(AVColorSpace matrix, bool fullRange) {
    switch (matrix) {
        case AVCOL_SPC_BT709:
            return fullRange ? &libyuv::kYuvF709Constants : &libyuv::kYuvH709Constants;
        case AVCOL_SPC_BT2020_NCL:
            return fullRange ? &libyuv::kYuvV2020Constants : &libyuv::kYuv2020Constants;
        case AVCOL_SPC_RGB:
        case AVCOL_SPC_FCC:
        case AVCOL_SPC_SMPTE240M:
        case AVCOL_SPC_YCGCO:
        case AVCOL_SPC_BT2020_CL:
        case AVCOL_SPC_SMPTE2085:
        case AVCOL_SPC_CHROMA_DERIVED_NCL:
        case AVCOL_SPC_CHROMA_DERIVED_CL:
        case AVCOL_SPC_ICTCP:
            return nullptr;
        default:
            return fullRange ? &libyuv::kYuvJPEGConstants : &libyuv::kYuvI601Constants;
    }
}

using ToRgb24 = int (*)(const std::uint8_t*, int, const std::uint8_t*, int, const std::uint8_t*,
                        int, std::uint8_t*, int, const libyuv::YuvConstants*, int, int);

ToRgb24 converterFor(heif_chroma chroma) {
    switch (chroma) {
        case heif_chroma_420:
            return libyuv::I420ToRGB24Matrix;
        case heif_chroma_422:
            return libyuv::I422ToRGB24Matrix;
        case heif_chroma_444:
            return libyuv::I444ToRGB24Matrix;
        default:
            return nullptr;
    }
}

struct RgbPlanes {
    std::uint8_t* data[3];
    int strides[3];
};

bool addPlanes(heif_image* image, int width, int height, RgbPlanes& planes) {
    const heif_channel channels[3] = {heif_channel_R, heif_channel_G, heif_channel_B};
    for (int c = 0; c < 3; ++c) {
        if (heif_image_add_plane(image, channels[c], width, height, 8).code != heif_error_Ok) {
            return false;
        }
        planes.data[c] = heif_image_get_plane(image, channels[c], &planes.strides[c]);
        if (!planes.data[c]) return false;
    }
    return true;
}

// A band of rows at a time through packed RGB, which libyuv's fast paths write, then split
// into the planes; the band stays in cache and the whole picture is never held twice.
bool convert(const AVFrame& frame, ToRgb24 toRgb24, const libyuv::YuvConstants* matrix,
             int chromaShiftY, const RgbPlanes& to) {
    constexpr int kBandRows = 16;
    const int width = frame.width;
    std::vector<std::uint8_t> band(std::size_t(width) * 3 * kBandRows);
    for (int y = 0; y < frame.height; y += kBandRows) {
        const int rows = std::min(kBandRows, frame.height - y);
        const int chromaY = y >> chromaShiftY;
        if (toRgb24(frame.data[0] + std::ptrdiff_t(y) * frame.linesize[0], frame.linesize[0],
                    frame.data[1] + std::ptrdiff_t(chromaY) * frame.linesize[1], frame.linesize[1],
                    frame.data[2] + std::ptrdiff_t(chromaY) * frame.linesize[2], frame.linesize[2],
                    band.data(), width * 3, matrix, width, rows) != 0) {
            return false;
        }
        // libyuv's RGB24 is B, G, R in memory.
        libyuv::SplitRGBPlane(
            band.data(), width * 3, to.data[2] + std::ptrdiff_t(y) * to.strides[2], to.strides[2],
            to.data[1] + std::ptrdiff_t(y) * to.strides[1], to.strides[1],
            to.data[0] + std::ptrdiff_t(y) * to.strides[0], to.strides[0], width, rows);
    }
    return true;
}

}  // namespace

heif_image* toRgbPlanes(const AVFrame& frame, heif_chroma chroma) {
    const libyuv::YuvConstants* matrix =
        matrixOf(frame.colorspace, frame.color_range == AVCOL_RANGE_JPEG);
    const ToRgb24 toRgb24 = converterFor(chroma);
    if (!matrix || !toRgb24) return nullptr;
    heif_image* image = nullptr;
    if (heif_image_create(frame.width, frame.height, heif_colorspace_RGB, heif_chroma_444, &image)
            .code != heif_error_Ok) {
        return nullptr;
    }
    RgbPlanes planes{};
    try {
        if (addPlanes(image, frame.width, frame.height, planes) &&
            convert(frame, toRgb24, matrix, chroma == heif_chroma_420 ? 1 : 0, planes)) {
            return image;
        }
    } catch (const std::bad_alloc&) {
    }
    heif_image_release(image);
    return nullptr;
}

}  // namespace vesko::decoder
