#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/decoder/ColorTransform.h"
#include "platform/decoder/ExifOrientation.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/JpegScale.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {
namespace {

// A progressive file can declare thousands of tiny scans, each of which costs a pass over the
// whole image; real encoders write about ten.
constexpr int kMaxScans = 500;
// Beyond this libjpeg gives up instead of allocating (progressive files keep every
// coefficient of the image in memory while decoding).
constexpr long kMaxLibraryMemory = 768L << 20;

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    // The data ran out before the first row of blocks: whatever libjpeg outputs is its filler.
    bool endedBeforeAnyPixel = false;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1);
}

// Warnings are not shown; running out of data is noted, since libjpeg carries on with grey.
void noteMessage(j_common_ptr info, int level) {
    if (level != -1 || info->err->msg_code != JWRN_JPEG_EOF) return;
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    auto* error = reinterpret_cast<ErrorExit*>(info->err);
    if (decompress->input_scan_number <= 1 && decompress->input_iMCU_row == 0) {
        error->endedBeforeAnyPixel = true;
    }
}

void limitScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) jumpOut(info);
}

// Everything the decode touches lives here, outside the frame that calls setjmp, so that a
// jump back from libjpeg's error exit leaves it all in a known state.
struct JpegJob {
    std::span<const std::uint8_t> bytes;
    DisplayBound bound;
    jpeg_decompress_struct info{};
    ErrorExit error{};
    jpeg_progress_mgr progress{};
    int orientation = 1;
    std::vector<std::uint8_t> icc;
    bool cmyk = false;
    Raster raster;
    int rowsDone = 0;
    // Set for a region at full resolution: the upright rectangle asked for, and then the stored
    // rows and columns decoded for it (the columns widened to whole blocks by libjpeg).
    std::optional<PixelRect> region;
    PixelRect stored;
    int leftOfStored = 0;
    // Only the header: the size and orientation, no pixels.
    bool headerOnly = false;
    Size imageSize;
    bool progressive = false;
    // Set for a JPEG inside another file, whose turn and colour space that file tells.
    std::optional<EmbeddedJpeg> embedded;
};

void readMetadata(JpegJob& job) {
    for (jpeg_saved_marker_ptr marker = job.info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && job.orientation == 1 && !job.embedded) {
            job.orientation = exifOrientation({marker->data, marker->data_length});
        }
    }
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;
    if (jpeg_read_icc_profile(&job.info, &icc, &iccLength) && icc) {
        job.icc.assign(icc, icc + iccLength);
    }
    std::free(icc);
    if (job.embedded) job.orientation = job.embedded->orientation;
}

void chooseOutput(JpegJob& job) {
    jpeg_decompress_struct& info = job.info;
    job.cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    const Size image{int(info.image_width), int(info.image_height)};
    const Size target = fitWithin(image, boundBeforeOrientation(job.bound, job.orientation));
    info.scale_num = jpegScaleEighths(image, target);
    info.scale_denom = 8;
}

bool create(JpegJob& job) {
    if (setjmp(job.error.jump)) return false;
    jpeg_create_decompress(&job.info);
    return true;
}

// The stored rows and columns of job.region, from the first row of blocks that holds them.
void readRegion(JpegJob& job) {
    jpeg_decompress_struct& info = job.info;
    job.cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    job.stored = storedRegion(clipped(*job.region, uprightSize(job.imageSize, job.orientation)),
                              job.imageSize, job.orientation);
    if (job.stored.isEmpty() || !withinPixelLimit(job.stored.width, job.stored.height)) return;
    jpeg_start_decompress(&info);
    // One more block column on each side: upsampled colour at the region's edges is then
    // computed from the same neighbours as in a whole decode.
    const int margin = info.max_h_samp_factor * DCTSIZE;
    const int from = std::max(0, job.stored.x - margin);
    const int to = std::min(job.imageSize.width, job.stored.x + job.stored.width + margin);
    auto left = JDIMENSION(from);
    auto width = JDIMENSION(to - from);
    jpeg_crop_scanline(&info, &left, &width);
    job.leftOfStored = job.stored.x - int(left);
    job.raster = makeRasterToOverwrite(int(info.output_width), job.stored.height, false);
    if (job.raster.pixels.empty() || info.output_components != 4) return;
    if (job.stored.y > 0) jpeg_skip_scanlines(&info, JDIMENSION(job.stored.y));
    while (job.rowsDone < job.stored.height) {
        JSAMPROW row = job.raster.row(job.rowsDone);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
        ++job.rowsDone;
    }
}

// Leaves job.rowsDone at the rows that were decoded when libjpeg finished or gave up.
void run(JpegJob& job) {
    jpeg_decompress_struct& info = job.info;
    if (setjmp(job.error.jump)) return;
    jpeg_mem_src(&info, job.bytes.data(), static_cast<unsigned long>(job.bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return;
    job.imageSize = {int(info.image_width), int(info.image_height)};
    job.progressive = jpeg_has_multiple_scans(&info);
    if (!job.region && !job.headerOnly && !withinPixelLimit(info.image_width, info.image_height))
        return;
    readMetadata(job);
    if (job.headerOnly) return;
    if (job.region) return readRegion(job);
    chooseOutput(job);
    jpeg_start_decompress(&info);
    job.raster = makeRasterToOverwrite(int(info.output_width), int(info.output_height), false);
    if (job.raster.pixels.empty() || info.output_components != 4) return;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.raster.row(int(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
        job.rowsDone = int(info.output_scanline);
    }
}

// The rows a damaged file did not deliver are shown in libjpeg's own filler grey.
void fillMissingRows(JpegJob& job) {
    Raster& raster = job.raster;
    if (job.rowsDone >= raster.height) return;
    std::uint8_t* from = raster.row(job.rowsDone);
    const std::uint8_t filler[4] = {128, 128, 128, std::uint8_t(job.cmyk ? 128 : 255)};
    for (std::uint8_t* p = from; p < raster.pixels.data() + raster.pixels.size(); p += 4) {
        std::memcpy(p, filler, 4);
    }
}

void setUp(JpegJob& job) {
    job.info.err = jpeg_std_error(&job.error.manager);
    job.error.manager.error_exit = jumpOut;
    job.error.manager.emit_message = noteMessage;
}

// Cuts the columns that libjpeg decoded beyond the region's to reach whole blocks.
Raster storedColumns(JpegJob& job) {
    if (job.leftOfStored == 0 && job.raster.width == job.stored.width) return std::move(job.raster);
    Raster out = makeRasterToOverwrite(job.stored.width, job.raster.height, false);
    if (out.pixels.empty()) return out;
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(out.row(y), job.raster.row(y) + std::size_t(job.leftOfStored) * 4,
                    std::size_t(out.width) * 4);
    }
    return out;
}

ImageHandle decode(JpegJob& job) {
    setUp(job);
    if (!create(job)) return nullptr;
    job.info.mem->max_memory_to_use = kMaxLibraryMemory;
    job.progress.progress_monitor = limitScans;
    job.info.progress = &job.progress;
    run(job);
    jpeg_destroy_decompress(&job.info);
    if (job.rowsDone == 0 || job.error.endedBeforeAnyPixel) return nullptr;
    fillMissingRows(job);
    if (job.cmyk) {
        convertCmykToSrgb(job.raster, job.icc, job.info.saw_Adobe_marker);
    } else if (job.icc.empty() && job.embedded && job.embedded->adobeRgb) {
        convertAdobeRgbToSrgb(job.raster);
    } else {
        convertIccToSrgb(job.raster, job.icc);
    }
    if (job.region) job.raster = storedColumns(job);
    return finish(std::move(job.raster), job.orientation);
}

}  // namespace

ImageHandle decodeJpegRegion(std::span<const std::uint8_t> bytes, PixelRect region,
                             std::optional<EmbeddedJpeg> embedded) {
    auto job = std::make_unique<JpegJob>();
    job->bytes = bytes;
    job->region = region;
    job->embedded = embedded;
    return decode(*job);
}

namespace {

// The header's facts; null when it cannot be read.
std::unique_ptr<JpegJob> readHeader(std::span<const std::uint8_t> bytes) {
    auto job = std::make_unique<JpegJob>();
    job->bytes = bytes;
    job->headerOnly = true;
    setUp(*job);
    if (!create(*job)) return nullptr;
    run(*job);
    jpeg_destroy_decompress(&job->info);
    if (job->imageSize.width <= 0 || job->imageSize.height <= 0) return nullptr;
    return job;
}

}  // namespace

std::optional<Size> jpegStoredSize(std::span<const std::uint8_t> bytes) {
    const auto job = readHeader(bytes);
    if (!job) return std::nullopt;
    return job->imageSize;
}

bool jpegDecodesRegionsAlone(std::span<const std::uint8_t> bytes) {
    const auto job = readHeader(bytes);
    return job && !job->progressive;
}

std::optional<PixelSize> jpegSize(std::span<const std::uint8_t> bytes) {
    const auto job = readHeader(bytes);
    if (!job) return std::nullopt;
    return uprightSize(job->imageSize, job->orientation);
}

ImageHandle decodeJpeg(std::span<const std::uint8_t> bytes, DisplayBound bound,
                       std::optional<EmbeddedJpeg> embedded) {
    auto job = std::make_unique<JpegJob>();
    job->bytes = bytes;
    job->bound = bound;
    job->embedded = embedded;
    return decode(*job);
}

}  // namespace vesko::decoder
