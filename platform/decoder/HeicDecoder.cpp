#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/ColorTransform.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/HeicPixels.h"
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

// An HEVC picture is coded in blocks of up to 64 x 64 and may reach past its image by less.
constexpr int kLargestCodingBlock = 64;

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

// libheif 1.15 sizes a grid's (or overlay's) picture by the grid's own description, which may
// claim far more than the ispe checked above, and bounds it only by one number for width and
// height alike. So: no side longer than the image's own, and never more than a square within
// the pixel limit (a legitimate grid wider than that is refused too).
void limitAssembledSize(heif_context* context, const heif_image_handle* handle) {
    static const int kSquareSide = int(std::sqrt(double(kMaxPixels)));
    const int side = std::max(
        {heif_image_handle_get_width(handle), heif_image_handle_get_height(handle),
         heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle)});
    // libheif checks coded pictures too, and refuses a side that reaches the limit.
    heif_context_set_maximum_image_size_limit(
        context, std::min(side + kLargestCodingBlock, kSquareSide) + 1);
}

heif_error decodeAs(const heif_image_handle* handle, heif_chroma chroma, Image& out) {
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(
        heif_decoding_options_alloc());
    if (!options) return {heif_error_Memory_allocation_error, heif_suberror_Unspecified, ""};
    options->convert_hdr_to_8bit = 1;
    heif_image* image = nullptr;
    heif_error error =
        heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, options.get());
    // FFmpeg's decoder could not open, or refused the stream: libde265 gets its turn.
    if (error.code == heif_error_Decoder_plugin_error) {
        const Libde265Only fallback;
        error = heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, options.get());
    }
    if (ok(error)) out.reset(image);
    return error;
}

// libheif applies the file's rotation, mirroring and crop itself; the pixels come out the
// right way up, and the EXIF orientation that phones also write must not be applied again.
// Planar RGB is what libheif assembles a grid in and what the FFmpeg plugin hands over, so
// asking for it spares a conversion and a second full-size copy; interleaved RGB(A) only where
// libheif has no way to planar RGB, or gives alpha at another depth than colour.
Image decodeRgb(const heif_image_handle* handle, bool hasAlpha, bool& planar) {
    Image image;
    const heif_error error = decodeAs(handle, heif_chroma_444, image);
    planar = ok(error) && planesShareDepth(image.get(), hasAlpha);
    if (planar) return image;
    if (!ok(error) && error.subcode != heif_suberror_Unsupported_color_conversion) return nullptr;
    decodeAs(handle, hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, image);
    return image;
}

// libheif 1.15 checks the size the file declares, not the one its HEVC stream codes; a stream
// that codes a larger picture is hostile (a few bytes can code a blank 16384 x 8192), and only
// coding blocks of up to 64 pixels may reach past the declared size.
bool asDeclared(Size decoded, const heif_image_handle* handle) {
    return decoded.width <= heif_image_handle_get_width(handle) + kLargestCodingBlock &&
           decoded.height <= heif_image_handle_get_height(handle) + kLargestCodingBlock;
}

Raster shrinkToBound(const heif_image* image, const heif_image_handle* handle, bool planar,
                     bool hasAlpha, DisplayBound bound) {
    const Size size = pictureSize(image, planar);
    if (size.width <= 0 || size.height <= 0 || !asDeclared(size, handle)) return {};
    return shrinkPicture(image, planar, hasAlpha, size, bound);
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

std::optional<PixelSize> heicSize(std::span<const std::uint8_t> bytes) {
    const Context context(heif_context_alloc());
    if (!context) return std::nullopt;
    const Handle handle = primaryImage(context.get(), bytes);
    if (!handle || !withinLimits(handle.get())) return std::nullopt;
    // The size after the file's rotation and crop, which libheif applies.
    return PixelSize{heif_image_handle_get_width(handle.get()),
                     heif_image_handle_get_height(handle.get())};
}

std::vector<std::uint8_t> heicExif(std::span<const std::uint8_t> bytes) {
    const Context context(heif_context_alloc());
    if (!context) return {};
    const Handle handle = primaryImage(context.get(), bytes);
    heif_item_id id = 0;
    if (!handle ||
        heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &id, 1) < 1) {
        return {};
    }
    const std::size_t size = heif_image_handle_get_metadata_size(handle.get(), id);
    if (size < 4 || size > bytes.size()) return {};
    std::vector<std::uint8_t> block(size);
    if (!ok(heif_image_handle_get_metadata(handle.get(), id, block.data()))) return {};
    // The item starts with how far after these four bytes the TIFF header begins.
    const std::size_t offset = std::size_t(block[0]) << 24 | std::size_t(block[1]) << 16 |
                               std::size_t(block[2]) << 8 | block[3];
    if (offset > size - 4) return {};
    block.erase(block.begin(), block.begin() + std::ptrdiff_t(4 + offset));
    return block;
}

ImageHandle decodeHeic(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    registerFfmpegHevcDecoder();
    const Context context(heif_context_alloc());
    if (!context) return nullptr;
    // A grid's tiles are decoded on this many threads at once; more than the cores only queue.
    heif_context_set_max_decoding_threads(context.get(),
                                          int(std::max(1u, std::thread::hardware_concurrency())));
    const Handle handle = primaryImage(context.get(), bytes);
    if (!handle || !withinLimits(handle.get())) return nullptr;
    limitAssembledSize(context.get(), handle.get());
    const bool hasAlpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    bool planar = false;
    const Image image = decodeRgb(handle.get(), hasAlpha, planar);
    if (!image) return nullptr;
    Raster raster = shrinkToBound(image.get(), handle.get(), planar, hasAlpha, bound);
    if (raster.pixels.empty()) return nullptr;
    convertColor(raster, handle.get());
    return finish(std::move(raster), 1);
}

}  // namespace vesko::decoder
