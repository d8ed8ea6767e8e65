#include <unistd.h>

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
#include "platform/decoder/RawReaderClient.h"

namespace vesko::decoder {
namespace {

// LibRaw's turn (bit 0 mirrors left-right, bit 1 top-bottom, bit 2 swaps the axes) in EXIF's
// numbering.
int exifOrientationOf(int flip) {
    constexpr int kExif[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return flip >= 0 && flip < 8 ? kExif[flip] : 1;
}

bool swapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

// One RAW file as LibRaw, in the reader process, sees it: from bytes in memory (which must
// outlive it) or from an open file, of which only what LibRaw asks for is read.
class RawFile {
public:
    explicit RawFile(std::span<const std::uint8_t> bytes)
        : bytes_(bytes), size_(bytes.size()), ownFile_(memoryFileWith(bytes)) {
        if (ownFile_ >= 0) facts_ = askRawFacts(ownFile_, false);
    }

    explicit RawFile(const RegularFile& file)
        : file_(&file), size_(file.size()), facts_(askRawFacts(file.descriptor(), true)) {}

    ~RawFile() {
        if (ownFile_ >= 0) ::close(ownFile_);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    bool opened() const { return facts_ != nullptr; }

    // The sensor's size as stored, before the turn.
    Size sensor() const { return facts_ ? facts_->sensor : Size{}; }
    int orientation() const { return facts_ ? exifOrientationOf(facts_->flip) : 1; }
    bool adobeRgb() const { return facts_ && facts_->adobeRgb; }

    // The embedded JPEG preview: straight from the file's bytes where its offset and length
    // check out, else LibRaw's copy of it; empty when there is none.
    std::span<const std::uint8_t> preview() {
        if (!facts_) return {};
        if (!facts_->copiedPreview.empty()) return facts_->copiedPreview;
        const std::uint64_t offset = facts_->previewOffset;
        const std::uint64_t length = facts_->previewLength;
        if (length < 2 || length > size_ || offset > size_ - length) return {};
        const std::span<const std::uint8_t> stored = bytesAt(offset, std::size_t(length));
        // The file may have changed since the reader looked.
        if (stored.size() != length || stored[0] != 0xFF || stored[1] != 0xD8) return {};
        return stored;
    }

    // The raw data demosaiced at half size with the camera's white balance, in sRGB, 8 bits,
    // not turned.
    Raster halfSize(DisplayBound bound) {
        if (!facts_) return {};
        const auto image = askRawHalfSize(ownFile_ >= 0 ? ownFile_ : file_->descriptor());
        if (!image) return {};
        const Size size = image->size;
        StreamingShrink shrink(size, fitWithin(size, bound), false);
        if (!shrink.valid()) return {};
        std::vector<std::uint8_t> row(std::size_t(size.width) * 4, 255);
        for (int y = 0; y < size.height; ++y) {
            const std::uint8_t* from = image->rgb.data() + std::size_t(y) * size.width * 3;
            for (int x = 0; x < size.width; ++x)
                std::memcpy(&row[std::size_t(x) * 4], from + x * 3, 3);
            shrink.addRow(row.data());
        }
        return shrink.take();
    }

private:
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
    int ownFile_ = -1;
    std::shared_ptr<const RawFacts> facts_;
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
