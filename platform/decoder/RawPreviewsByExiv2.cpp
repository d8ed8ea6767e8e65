#include "platform/decoder/RawPreviewsByExiv2.h"

#include <exiv2/exiv2.hpp>

#include <climits>
#include <string>

#include "platform/decoder/FileBytes.h"
#include "platform/decoder/ShootingFactsReader.h"

namespace vesko::decoder {
namespace {

long numberAt(const Exiv2::ExifData& exif, Exiv2::ExifData::const_iterator found) {
    return found == exif.end() || found->count() == 0 ? 0 : found->toLong(0);
}

long numberAt(const Exiv2::ExifData& exif, const char* key) {
    return numberAt(exif, exif.findKey(Exiv2::ExifKey(key)));
}

RawExif rawExifOf(const Exiv2::ExifData& exif) {
    RawExif said;
    const long orientation = numberAt(exif, Exiv2::orientation(exif));
    if (orientation >= 1 && orientation <= 8) said.orientation = int(orientation);
    // Cameras mark Adobe RGB as 2, or as uncalibrated with the interoperability index R03.
    const long space = numberAt(exif, "Exif.Photo.ColorSpace");
    const auto index = exif.findKey(Exiv2::ExifKey("Exif.Iop.InteroperabilityIndex"));
    said.adobeRgb = space == 2 || (space == 0xFFFF && index != exif.end() &&
                                   index->toString().starts_with("R03"));
    const long width = numberAt(exif, "Exif.Photo.PixelXDimension");
    const long height = numberAt(exif, "Exif.Photo.PixelYDimension");
    if (width > 0 && height > 0 && width < INT_MAX && height < INT_MAX) {
        said.stored = {int(width), int(height)};
    }
    return said;
}

ImageHandle showLargest(Exiv2::Image& image, const ShowPreview& show) {
    image.readMetadata();
    const RawExif said = rawExifOf(image.exifData());
    const Exiv2::PreviewManager previews(image);
    const Exiv2::PreviewPropertiesList found = previews.getPreviewProperties();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (it->mimeType_ != "image/jpeg") continue;
        const Exiv2::PreviewImage preview = previews.getPreviewImage(*it);
        if (!preview.pData() || preview.size() == 0) continue;
        if (ImageHandle shown = show({preview.pData(), preview.size()}, said)) return shown;
    }
    return nullptr;
}

template <typename Open>
ImageHandle showLargestOf(Open open, const ShowPreview& show) {
    prepareExiv2();
    try {
        const auto image = open();
        return image.get() ? showLargest(*image, show) : nullptr;
    } catch (...) {
        // exiv2 reports a file it cannot read by throwing.
        return nullptr;
    }
}

}  // namespace

ImageHandle showLargestPreviewByExiv2(std::span<const std::uint8_t> bytes,
                                      const ShowPreview& show) {
    if (bytes.empty() || bytes.size() > std::size_t(LONG_MAX)) return nullptr;
    return showLargestOf(
        [&] { return Exiv2::ImageFactory::open(bytes.data(), long(bytes.size())); }, show);
}

// exiv2 opens files by name: it is given the one already open, by its name under /proc, as
// LibRaw is.
ImageHandle showLargestPreviewByExiv2(const RegularFile& file, const ShowPreview& show) {
    const std::string name = "/proc/self/fd/" + std::to_string(file.descriptor());
    return showLargestOf([&] { return Exiv2::ImageFactory::open(name, false); }, show);
}

}  // namespace vesko::decoder
