#include "platform/decoder/HevcPicture.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstring>
#include <memory>

namespace vesko::decoder {
namespace {

struct Layout {
    heif_colorspace colorspace;
    heif_chroma chroma;
    int planes;
    int bitDepth;
};

// Planar YCbCr or greyscale with every plane at one depth, stored in native byte order: what
// libde265 hands libheif, and what libheif converts from.
bool layoutOf(AVPixelFormat format, Layout& layout) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if (!descriptor || (descriptor->flags & (AV_PIX_FMT_FLAG_BE | AV_PIX_FMT_FLAG_RGB |
                                             AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_ALPHA))) {
        return false;
    }
    layout.planes = descriptor->nb_components;
    layout.bitDepth = descriptor->comp[0].depth;
    for (int c = 0; c < layout.planes; ++c) {
        if (descriptor->comp[c].plane != c || descriptor->comp[c].depth != layout.bitDepth) {
            return false;
        }
    }
    if (layout.planes == 1) {
        layout.colorspace = heif_colorspace_monochrome;
        layout.chroma = heif_chroma_monochrome;
        return true;
    }
    layout.colorspace = heif_colorspace_YCbCr;
    const int w = descriptor->log2_chroma_w, h = descriptor->log2_chroma_h;
    if (layout.planes != 3) return false;
    if (w == 1 && h == 1)
        layout.chroma = heif_chroma_420;
    else if (w == 1 && h == 0)
        layout.chroma = heif_chroma_422;
    else if (w == 0 && h == 0)
        layout.chroma = heif_chroma_444;
    else
        return false;
    return true;
}

bool copyPlane(const AVFrame& frame, int plane, heif_channel channel, const Layout& layout,
               heif_image* image) {
    const int shift = plane == 0 ? 0 : 1;
    const bool halfWidth = shift && layout.chroma != heif_chroma_444;
    const bool halfHeight = shift && layout.chroma == heif_chroma_420;
    const int width = halfWidth ? (frame.width + 1) / 2 : frame.width;
    const int height = halfHeight ? (frame.height + 1) / 2 : frame.height;
    if (heif_image_add_plane(image, channel, width, height, layout.bitDepth).code !=
        heif_error_Ok) {
        return false;
    }
    int stride = 0;
    std::uint8_t* to = heif_image_get_plane(image, channel, &stride);
    if (!to) return false;
    const std::size_t rowBytes = std::size_t(width) * (layout.bitDepth > 8 ? 2 : 1);
    const std::uint8_t* from = frame.data[plane];
    for (int y = 0; y < height; ++y) {
        std::memcpy(to + std::size_t(y) * stride, from + std::ptrdiff_t(y) * frame.linesize[plane],
                    rowBytes);
    }
    return true;
}

// The colour description in the stream's VUI; libheif prefers the file's own where it has one.
void describeColour(const AVFrame& frame, heif_image* image) {
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (!nclx) return;
    heif_nclx_color_profile_set_color_primaries(nclx, std::uint16_t(frame.color_primaries));
    heif_nclx_color_profile_set_transfer_characteristics(nclx, std::uint16_t(frame.color_trc));
    heif_nclx_color_profile_set_matrix_coefficients(nclx, std::uint16_t(frame.colorspace));
    nclx->full_range_flag = frame.color_range == AVCOL_RANGE_JPEG;
    heif_image_set_nclx_color_profile(image, nclx);
    heif_nclx_color_profile_free(nclx);
}

struct ScalerDeleter {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

// The matrix libheif would use for this colour description: BT.601 for anything it does not
// know, as for "unspecified".
int swsMatrix(AVColorSpace matrix) {
    switch (matrix) {
        case AVCOL_SPC_BT709:
            return SWS_CS_ITU709;
        case AVCOL_SPC_FCC:
            return SWS_CS_FCC;
        case AVCOL_SPC_SMPTE240M:
            return SWS_CS_SMPTE240M;
        case AVCOL_SPC_BT2020_NCL:
            return SWS_CS_BT2020;
        default:
            return SWS_CS_ITU601;
    }
}

bool convertToRgb(const AVFrame& frame, heif_image* image) {
    const std::unique_ptr<SwsContext, ScalerDeleter> scaler(sws_getContext(
        frame.width, frame.height, AVPixelFormat(frame.format), frame.width, frame.height,
        AV_PIX_FMT_GBRP, SWS_POINT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr));
    if (!scaler) return false;
    const int fullRange = frame.color_range == AVCOL_RANGE_JPEG;
    if (sws_setColorspaceDetails(scaler.get(), sws_getCoefficients(swsMatrix(frame.colorspace)),
                                 fullRange, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16,
                                 1 << 16) < 0) {
        return false;
    }
    // libswscale's planar RGB comes in the order G, B, R.
    const heif_channel order[3] = {heif_channel_G, heif_channel_B, heif_channel_R};
    std::uint8_t* planes[4] = {};
    int strides[4] = {};
    for (int p = 0; p < 3; ++p) {
        if (heif_image_add_plane(image, order[p], frame.width, frame.height, 8).code !=
            heif_error_Ok) {
            return false;
        }
        planes[p] = heif_image_get_plane(image, order[p], &strides[p]);
        if (!planes[p]) return false;
    }
    return sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides) ==
           frame.height;
}

// libheif 1.15 converts YCbCr to RGB one float sample at a time, which takes almost as long as
// decoding the picture; libswscale is several times faster. So an 8-bit colour picture is
// handed over as planar RGB, which libheif takes as it is (it pastes a grid's tiles into planar
// RGB, and the decoder asks for planar RGB). The matrix and range are the stream's own (files
// whose colr box contradicts their stream are not met in practice).
bool toRgbImage(const AVFrame& frame, const Layout& layout, heif_image** out) {
    if (layout.colorspace != heif_colorspace_YCbCr || layout.bitDepth != 8 ||
        frame.colorspace == AVCOL_SPC_RGB) {
        return false;
    }
    heif_image* image = nullptr;
    if (heif_image_create(frame.width, frame.height, heif_colorspace_RGB, heif_chroma_444, &image)
            .code != heif_error_Ok) {
        return false;
    }
    if (!convertToRgb(frame, image)) {
        heif_image_release(image);
        return false;
    }
    *out = image;
    return true;
}

}  // namespace

heif_image* toHeifImage(const AVFrame& frame) {
    Layout layout{};
    if (frame.width <= 0 || frame.height <= 0 || !layoutOf(AVPixelFormat(frame.format), layout)) {
        return nullptr;
    }
    heif_image* image = nullptr;
    if (toRgbImage(frame, layout, &image)) return image;
    if (heif_image_create(frame.width, frame.height, layout.colorspace, layout.chroma, &image)
            .code != heif_error_Ok) {
        return nullptr;
    }
    const heif_channel channels[3] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
    for (int plane = 0; plane < layout.planes; ++plane) {
        if (!copyPlane(frame, plane, channels[plane], layout, image)) {
            heif_image_release(image);
            return nullptr;
        }
    }
    describeColour(frame, image);
    return image;
}

}  // namespace vesko::decoder
