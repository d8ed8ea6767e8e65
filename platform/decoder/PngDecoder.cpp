#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/ColorTransform.h"
#include "platform/decoder/ExifOrientation.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {
namespace {

// Deflate cannot shrink data by more than about 1032 to 1, so a file that declares more pixel
// data than that is incomplete; refusing it early avoids working through a bomb.
constexpr double kMaxDeflateRatio = 1100;
constexpr png_alloc_size_t kMaxChunkBytes = 16u << 20;

[[noreturn]] void jumpOut(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

struct PngJob {
    std::span<const std::uint8_t> bytes;
    std::size_t readAt = 0;
    DisplayBound bound;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Size image;
    bool interlaced = false;
    bool hasAlpha = false;
    int orientation = 1;
    std::vector<std::uint8_t> icc;
    std::vector<std::uint8_t> row;
    std::vector<png_bytep> rowPointers;
    std::optional<StreamingShrink> scaler;
    Raster raster;
    bool headerOnly = false;  // the size and orientation, no pixels
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->bytes.size() - job->readAt) png_error(png, "truncated");
    std::memcpy(out, job->bytes.data() + job->readAt, length);
    job->readAt += length;
}

bool plausible(const PngJob& job) {
    if (!withinPixelLimit(job.image.width, job.image.height)) return false;
    const double rawBytes = double(png_get_rowbytes(job.png, job.info) + 1) * job.image.height;
    return rawBytes <= double(job.bytes.size()) * kMaxDeflateRatio;
}

void readMetadata(PngJob& job) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(job.png, job.info, &name, &compression, &profile, &profileLength) && profile) {
        job.icc.assign(profile, profile + profileLength);
    }
    png_bytep exif = nullptr;
    png_uint_32 exifLength = 0;
    if (png_get_eXIf_1(job.png, job.info, &exifLength, &exif) && exif) {
        job.orientation = exifOrientation({exif, exifLength});
    }
}

// Asks libpng for 8-bit RGBA whatever the file stores.
void requestRgba(PngJob& job) {
    png_structp png = job.png;
    const int colorType = png_get_color_type(png, job.info);
    job.hasAlpha =
        (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, job.info, PNG_INFO_tRNS);
    job.interlaced = png_get_interlace_type(png, job.info) != PNG_INTERLACE_NONE;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!job.hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    if (job.interlaced) png_set_interlace_handling(png);
    png_read_update_info(png, job.info);
}

// Interlaced rows arrive out of order, so the whole image is decoded before shrinking.
void readInterlaced(PngJob& job) {
    job.raster = makeRasterToOverwrite(job.image.width, job.image.height, job.hasAlpha);
    if (job.raster.pixels.empty()) png_error(job.png, "out of memory");
    job.rowPointers.resize(std::size_t(job.image.height));
    for (int y = 0; y < job.image.height; ++y) job.rowPointers[std::size_t(y)] = job.raster.row(y);
    png_read_image(job.png, job.rowPointers.data());
}

void readSequential(PngJob& job, Size target) {
    const bool direct = target == job.image;
    if (direct) {
        job.raster = makeRasterToOverwrite(job.image.width, job.image.height, job.hasAlpha);
        if (job.raster.pixels.empty()) png_error(job.png, "out of memory");
    } else {
        job.scaler.emplace(job.image, target, job.hasAlpha);
        if (!job.scaler->valid()) png_error(job.png, "out of memory");
        job.row.resize(std::size_t(job.image.width) * 4);
    }
    for (int y = 0; y < job.image.height; ++y) {
        png_bytep row = direct ? job.raster.row(y) : job.row.data();
        png_read_row(job.png, row, nullptr);
        if (!direct) job.scaler->addRow(row);
    }
    if (!direct) job.raster = job.scaler->take();
}

bool run(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_read_fn(job.png, &job, readFromMemory);
    png_set_chunk_malloc_max(job.png, kMaxChunkBytes);
    // As browsers do, a wrong checksum does not stop the decode (the data is checked for
    // structure all the same); skipping the sums also saves a pass over every byte.
    png_set_crc_action(job.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_option(job.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(job.png, job.info);
    job.image = {int(png_get_image_width(job.png, job.info)),
                 int(png_get_image_height(job.png, job.info))};
    if (!plausible(job)) return false;
    readMetadata(job);
    if (job.headerOnly) return true;
    requestRgba(job);
    if (png_get_rowbytes(job.png, job.info) != std::size_t(job.image.width) * 4) return false;
    const Size target = fitWithin(job.image, boundBeforeOrientation(job.bound, job.orientation));
    if (job.interlaced) {
        readInterlaced(job);
        job.raster = shrink(std::move(job.raster), target);
    } else {
        readSequential(job, target);
    }
    return true;
}

}  // namespace

std::optional<PixelSize> pngSize(std::span<const std::uint8_t> bytes) {
    auto job = std::make_unique<PngJob>();
    job->bytes = bytes;
    job->headerOnly = true;
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOut, ignoreWarning);
    if (!job->png) return std::nullopt;
    job->info = png_create_info_struct(job->png);
    const bool read = job->info && run(*job);
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    if (!read) return std::nullopt;
    return uprightSize(job->image, job->orientation);
}

ImageHandle decodePng(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    auto job = std::make_unique<PngJob>();
    job->bytes = bytes;
    job->bound = bound;
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOut, ignoreWarning);
    if (!job->png) return nullptr;
    job->info = png_create_info_struct(job->png);
    const bool decoded = job->info && run(*job);
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    if (!decoded) return nullptr;
    convertIccToSrgb(job->raster, job->icc);
    return finish(std::move(job->raster), job->orientation);
}

}  // namespace vesko::decoder
