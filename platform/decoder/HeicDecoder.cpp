#include <libheif/heif.h>

#include <memory>

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/ColorTransform.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/HevcFfmpegPlugin.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {
namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsDeleter {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using Context = std::unique_ptr<heif_context, ContextDeleter>;
using Handle = std::unique_ptr<heif_image_handle, HandleDeleter>;
using Image = std::unique_ptr<heif_image, ImageDeleter>;

bool ok(heif_error error) { return error.code == heif_error_Ok; }

Handle primaryImage(heif_context* context, std::span<const std::uint8_t> bytes) {
    if (!ok(heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(),
                                                       nullptr))) {
        return nullptr;
    }
    heif_image_handle* handle = nullptr;
    if (!ok(heif_context_get_primary_image_handle(context, &handle))) return nullptr;
    return Handle(handle);
}

bool withinLimits(const heif_image_handle* handle) {
    return withinPixelLimit(heif_image_handle_get_width(handle),
                            heif_image_handle_get_height(handle)) &&
           withinPixelLimit(heif_image_handle_get_ispe_width(handle),
                            heif_image_handle_get_ispe_height(handle));
}

// libheif applies the file's rotation, mirroring and crop itself; the pixels come out the
// right way up, and the EXIF orientation that phones also write must not be applied again.
Image decodeInterleaved(const heif_image_handle* handle, bool hasAlpha) {
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(
        heif_decoding_options_alloc());
    if (!options) return nullptr;
    options->convert_hdr_to_8bit = 1;
    heif_image* image = nullptr;
    // Three bytes a pixel where there is no alpha: less to write and to read back.
    const heif_chroma chroma =
        hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
    const heif_error error =
        heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, options.get());
    if (ok(error)) return Image(image);
    // FFmpeg's decoder could not open, or refused the stream: libde265 gets its turn.
    if (error.code != heif_error_Decoder_plugin_error) return nullptr;
    const Libde265Only fallback;
    if (!ok(heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, options.get()))) {
        return nullptr;
    }
    return Image(image);
}

// libheif 1.15 checks the size the file declares, not the one its HEVC stream codes; a stream
// that codes a larger picture is hostile (a few bytes can code a blank 16384 x 8192), and only
// coding blocks of up to 64 pixels may reach past the declared size.
bool asDeclared(Size decoded, const heif_image_handle* handle) {
    constexpr int kLargestCodingBlock = 64;
    return decoded.width <= heif_image_handle_get_width(handle) + kLargestCodingBlock &&
           decoded.height <= heif_image_handle_get_height(handle) + kLargestCodingBlock;
}

Raster shrinkPlane(const heif_image* image, const heif_image_handle* handle, bool hasAlpha,
                   DisplayBound bound) {
    const Size size{heif_image_get_width(image, heif_channel_interleaved),
                    heif_image_get_height(image, heif_channel_interleaved)};
    if (!asDeclared(size, handle)) return {};
    const int bytesPerPixel = hasAlpha ? 4 : 3;
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!plane || size.width <= 0 || size.height <= 0 || stride < size.width * bytesPerPixel ||
        heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved) != 8) {
        return {};
    }
    return shrinkInMemory(plane, std::size_t(stride), bytesPerPixel, size, fitWithin(size, bound),
                          hasAlpha);
}

void convertColor(Raster& raster, const heif_image_handle* handle) {
    const std::size_t iccSize = heif_image_handle_get_raw_color_profile_size(handle);
    if (iccSize > 0 && iccSize < (1u << 26)) {
        std::vector<std::uint8_t> icc(iccSize);
        if (ok(heif_image_handle_get_raw_color_profile(handle, icc.data()))) {
            convertIccToSrgb(raster, icc);
        }
        return;
    }
    heif_color_profile_nclx* nclx = nullptr;
    if (ok(heif_image_handle_get_nclx_color_profile(handle, &nclx)) && nclx) {
        convertCodedToSrgb(raster,
                           {int(nclx->color_primaries), int(nclx->transfer_characteristics)});
    }
    heif_nclx_color_profile_free(nclx);
}

}  // namespace

ImageHandle decodeHeic(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    registerFfmpegHevcDecoder();
    const Context context(heif_context_alloc());
    if (!context) return nullptr;
    const Handle handle = primaryImage(context.get(), bytes);
    if (!handle || !withinLimits(handle.get())) return nullptr;
    const bool hasAlpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const Image image = decodeInterleaved(handle.get(), hasAlpha);
    if (!image) return nullptr;
    Raster raster = shrinkPlane(image.get(), handle.get(), hasAlpha, bound);
    if (raster.pixels.empty()) return nullptr;
    convertColor(raster, handle.get());
    return finish(std::move(raster), 1);
}

}  // namespace vesko::decoder
