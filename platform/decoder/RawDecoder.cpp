#include <libraw/libraw.h>
#include <omp.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"
#include "platform/decoder/RawPreviewsByExiv2.h"

namespace vesko::decoder {
namespace {

// LibRaw refuses raw data larger than this before allocating it: a 150-megapixel back needs
// 300 MB; a hostile header may claim gigabytes.
constexpr unsigned kMaxRawMemoryMb = 512;
// Every decode runs on one of the decode-ahead workers, which are already one per spare core.
constexpr int kLibRawThreads = 1;

// LibRaw's turn (bit 0 mirrors left-right, bit 1 top-bottom, bit 2 swaps the axes) in EXIF's
// numbering.
int exifOrientationOf(int flip) {
    constexpr int kExif[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return flip >= 0 && flip < 8 ? kExif[flip] : 1;
}

bool swapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

void ignoreDataError(void*, const char*, const int) {}

struct ProcessedImageDeleter {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

// One RAW file opened by LibRaw, from bytes in memory (which must outlive it) or from an open
// file, of which only what LibRaw asks for is read.
class RawFile {
public:
    explicit RawFile(std::span<const std::uint8_t> bytes)
        : bytes_(bytes), size_(bytes.size()), raw_(std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE)) {
        raw_->set_dataerror_handler(ignoreDataError, nullptr);
        open();
    }

    // LibRaw opens files by name: it is given the one already open, which is known to be a
    // regular file, by its name under /proc, so a rename or a pipe put in its place since
    // cannot matter.
    explicit RawFile(const RegularFile& file)
        : file_(&file), size_(file.size()), raw_(std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE)) {
        raw_->set_dataerror_handler(ignoreDataError, nullptr);
        open();
    }

    bool opened() const { return opened_; }

    // The sensor's size as stored, before the turn.
    Size sensor() const { return {raw_->imgdata.sizes.width, raw_->imgdata.sizes.height}; }
    int orientation() const { return exifOrientationOf(raw_->imgdata.sizes.flip); }
    bool adobeRgb() const {
        return raw_->imgdata.color.ExifColorSpace == LIBRAW_COLORSPACE_AdobeRGB;
    }

    // The embedded JPEG preview: straight from the file's bytes where its offset and length
    // check out, else LibRaw's copy of it; empty when there is none.
    std::span<const std::uint8_t> preview() {
        if (!opened_ || !raw_->is_jpeg_thumb()) return {};
        const INT64 offset = raw_->get_internal_data_pointer()->internal_data.toffset;
        const std::size_t length = raw_->imgdata.thumbnail.tlength;
        if (length < 2 || length > size_ || offset < 0 || std::uint64_t(offset) > size_ - length) {
            return {};
        }
        const std::span<const std::uint8_t> stored = bytesAt(std::uint64_t(offset), length);
        if (stored.size() == length && stored[0] == 0xFF && stored[1] == 0xD8) return stored;
        // Some cameras leave out the preview's start marker; LibRaw's copy puts it back.
        if (raw_->unpack_thumb() != LIBRAW_SUCCESS) return {};
        const libraw_thumbnail_t& thumbnail = raw_->imgdata.thumbnail;
        if (thumbnail.tformat != LIBRAW_THUMBNAIL_JPEG || !thumbnail.thumb ||
            thumbnail.tlength < 2) {
            return {};
        }
        return {reinterpret_cast<const std::uint8_t*>(thumbnail.thumb), thumbnail.tlength};
    }

    // The raw data demosaiced at half size with the camera's white balance, in sRGB, 8 bits,
    // not turned.
    Raster halfSize(DisplayBound bound) {
        libraw_output_params_t& params = raw_->imgdata.params;
        params.half_size = 1;
        params.use_camera_wb = 1;
        params.output_color = 1;
        params.output_bps = 8;
        params.user_flip = 0;
        omp_set_num_threads(kLibRawThreads);
        if (raw_->unpack() != LIBRAW_SUCCESS || raw_->dcraw_process() != LIBRAW_SUCCESS) return {};
        int error = 0;
        const std::unique_ptr<libraw_processed_image_t, ProcessedImageDeleter> image(
            raw_->dcraw_make_mem_image(&error));
        if (!image || image->type != LIBRAW_IMAGE_BITMAP || image->colors != 3 ||
            image->bits != 8 || !withinPixelLimit(image->width, image->height)) {
            return {};
        }
        const Size size{image->width, image->height};
        StreamingShrink shrink(size, fitWithin(size, bound), false);
        if (!shrink.valid()) return {};
        std::vector<std::uint8_t> row(std::size_t(size.width) * 4, 255);
        for (int y = 0; y < size.height; ++y) {
            const std::uint8_t* from = image->data + std::size_t(y) * size.width * 3;
            for (int x = 0; x < size.width; ++x)
                std::memcpy(&row[std::size_t(x) * 4], from + x * 3, 3);
            shrink.addRow(row.data());
        }
        return shrink.take();
    }

    ~RawFile() { raw_->recycle(); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

private:
    void open() {
        raw_->recycle();
        raw_->imgdata.params.max_raw_memory_mb = kMaxRawMemoryMb;
        if (file_) {
            const std::string name = "/proc/self/fd/" + std::to_string(file_->descriptor());
            opened_ = raw_->open_file(name.c_str()) == LIBRAW_SUCCESS;
        } else {
            // LibRaw only reads the buffer, but 0.20 declares it writable.
            auto* data = const_cast<std::uint8_t*>(bytes_.data());
            opened_ = !bytes_.empty() && raw_->open_buffer(data, bytes_.size()) == LIBRAW_SUCCESS;
        }
    }

    std::span<const std::uint8_t> bytesAt(std::uint64_t offset, std::size_t length) {
        if (!file_) return bytes_.subspan(std::size_t(offset), length);
        auto read = file_->read(offset, length);
        if (!read) return {};
        previewBytes_ = std::move(*read);
        return previewBytes_;
    }

    std::span<const std::uint8_t> bytes_;
    const RegularFile* file_ = nullptr;
    std::vector<std::uint8_t> previewBytes_;
    std::uint64_t size_ = 0;
    std::unique_ptr<LibRaw> raw_;
    bool opened_ = false;
};

// How to show a preview of `stored` pixels: previews carry no turn of their own, but some are
// stored upright already, which their shape against the sensor's tells (when it is known).
EmbeddedJpeg lookOf(int orientation, bool adobeRgb, Size sensor, Size stored) {
    const bool previewWide = stored.width > stored.height;
    const bool sensorWide = sensor.width > sensor.height;
    if (swapsAxes(orientation) && stored.width != stored.height && sensor.width != sensor.height &&
        previewWide != sensorWide) {
        orientation = 1;
    }
    return {orientation, adobeRgb};
}

EmbeddedJpeg lookOf(const RawFile& raw, Size stored) {
    return lookOf(raw.orientation(), raw.adobeRgb(), raw.sensor(), stored);
}

int longerSide(Size size) { return std::max(size.width, size.height); }

// A preview is worth showing when it is at least half the longer side of the screen's bound,
// or of the sensor when that is smaller: the raw data at half size would give no more.
bool largeEnough(Size preview, Size sensor, DisplayBound bound) {
    const int wanted = std::min(std::max(bound.width, bound.height), longerSide(sensor));
    return 2 * longerSide(preview) >= wanted;
}

// Where the preview holds the sensor's every pixel (give or take the margins that cameras
// crop), a region of it is the photo at full resolution.
bool fullResolution(Size preview, Size sensor) {
    return 10 * longerSide(preview) >= 9 * longerSide(sensor);
}

// The largest embedded JPEG that exiv2 finds, turned as the RAW's EXIF says; its shape against
// the sensor's, where LibRaw read the sensor, else as EXIF records it.
template <typename Source>
ImageHandle largestPreviewByExiv2(const Source& source, DisplayBound bound, Size sensor) {
    return showLargestPreviewByExiv2(
        source, [&](std::span<const std::uint8_t> jpeg, const RawExif& exif) -> ImageHandle {
            const std::optional<Size> stored = jpegStoredSize(jpeg);
            if (!stored) return nullptr;
            const Size shape = sensor.width > 0 ? sensor : exif.stored;
            return decodeJpeg(jpeg, bound, lookOf(exif.orientation, exif.adobeRgb, shape, *stored));
        });
}

template <typename Source>
ImageHandle decodeRawFrom(const Source& source, DisplayBound bound) {
    RawFile raw(source);
    const std::span<const std::uint8_t> preview = raw.preview();
    const std::optional<Size> stored = preview.empty() ? std::nullopt : jpegStoredSize(preview);
    const bool previewFits = stored && largeEnough(*stored, raw.sensor(), bound);
    if (previewFits) {
        if (ImageHandle image = decodeJpeg(preview, bound, lookOf(raw, *stored))) return image;
    }
    if (raw.opened()) {
        const int orientation = raw.orientation();
        Raster decoded = raw.halfSize(boundBeforeOrientation(bound, orientation));
        if (!decoded.pixels.empty()) return finish(std::move(decoded), orientation);
    }
    // LibRaw does not know the camera, or found nothing it can show: exiv2 knows where more
    // cameras keep their previews.
    const Size sensor = raw.opened() ? raw.sensor() : Size{};
    if (ImageHandle image = largestPreviewByExiv2(source, bound, sensor)) return image;
    // A file whose raw data LibRaw cannot render may still hold a smaller preview.
    if (stored && !previewFits) return decodeJpeg(preview, bound, lookOf(raw, *stored));
    return nullptr;
}

template <typename Source>
std::optional<PixelSize> rawSizeFrom(const Source& source) {
    RawFile raw(source);
    const std::span<const std::uint8_t> preview = raw.preview();
    const std::optional<Size> stored = preview.empty() ? std::nullopt : jpegStoredSize(preview);
    if (!stored || !fullResolution(*stored, raw.sensor())) return std::nullopt;
    return uprightSize(*stored, lookOf(raw, *stored).orientation);
}

template <typename Source>
ImageHandle decodeRawRegionFrom(const Source& source, PixelRect region) {
    RawFile raw(source);
    const std::span<const std::uint8_t> preview = raw.preview();
    const std::optional<Size> stored = preview.empty() ? std::nullopt : jpegStoredSize(preview);
    if (!stored || !fullResolution(*stored, raw.sensor())) return nullptr;
    return decodeJpegRegion(preview, region, lookOf(raw, *stored));
}

}  // namespace

bool rawDecodesRegionsAlone(const RegularFile& file) {
    RawFile raw(file);
    const std::span<const std::uint8_t> preview = raw.preview();
    const std::optional<Size> stored = preview.empty() ? std::nullopt : jpegStoredSize(preview);
    return stored && fullResolution(*stored, raw.sensor()) && jpegDecodesRegionsAlone(preview);
}

ImageHandle decodeRaw(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    return decodeRawFrom(bytes, bound);
}

ImageHandle decodeRaw(const RegularFile& file, DisplayBound bound) {
    return decodeRawFrom(file, bound);
}

std::optional<PixelSize> rawSize(std::span<const std::uint8_t> bytes) { return rawSizeFrom(bytes); }

std::optional<PixelSize> rawSize(const RegularFile& file) { return rawSizeFrom(file); }

ImageHandle decodeRawRegion(std::span<const std::uint8_t> bytes, PixelRect region) {
    return decodeRawRegionFrom(bytes, region);
}

ImageHandle decodeRawRegion(const RegularFile& file, PixelRect region) {
    return decodeRawRegionFrom(file, region);
}

}  // namespace vesko::decoder
