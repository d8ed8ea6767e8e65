#include "platform/decoder/Formats.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>

namespace vesko::decoder {
namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::size_t at, const char* text,
                std::size_t length) {
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}

bool isHeif(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || !startsWith(bytes, 4, "ftyp", 4)) return false;
    const auto result =
        heif_check_filetype(bytes.data(), int(std::min<std::size_t>(bytes.size(), 64)));
    return result == heif_filetype_yes_supported;
}

// Camera RAW files: TIFF's two byte orders (DNG, NEF, CR2, ARW, PEF, ...), Olympus's and
// Panasonic's variants of it, Fujifilm, old Canon, Sigma and Minolta signatures, Canon's CR3
// brand of ISO BMFF, and Phase One's mark anywhere in the first 32 bytes.
bool isRaw(std::span<const std::uint8_t> bytes) {
    for (const auto* tiff : {"II*\0", "MM\0*", "IIRO", "IIRS", "MMOR", "IIU\0"}) {
        if (startsWith(bytes, 0, tiff, 4)) return true;
    }
    if (startsWith(bytes, 0, "FUJIFILM", 8) || startsWith(bytes, 0, "FOVb", 4) ||
        startsWith(bytes, 0, "\0MRM", 4) || startsWith(bytes, 6, "HEAPCCDR", 8) ||
        startsWith(bytes, 4, "ftypcrx ", 8)) {
        return true;
    }
    for (std::size_t at = 0; at + 4 <= std::min<std::size_t>(bytes.size(), 32); ++at) {
        if (startsWith(bytes, at, "IIII", 4) || startsWith(bytes, at, "MMMM", 4)) return true;
    }
    return false;
}

// Large enough that nothing within the pixel limit is shrunk.
constexpr DisplayBound kFullResolution{1 << 30, 1 << 30};

ImageHandle cut(const ImageHandle& whole, PixelRect region) {
    if (!whole) return nullptr;
    const PixelRect part = clipped(region, {whole->width(), whole->height()});
    if (part.isEmpty()) return nullptr;
    const std::size_t rowBytes = std::size_t(part.width) * 4;
    std::vector<std::uint8_t> pixels(rowBytes * std::size_t(part.height));
    for (int y = 0; y < part.height; ++y) {
        std::memcpy(pixels.data() + rowBytes * std::size_t(y),
                    whole->bits() + whole->bytesPerLine() * std::size_t(part.y + y) +
                        std::size_t(part.x) * 4,
                    rowBytes);
    }
    return std::make_shared<const DecodedImage>(part.width, part.height, rowBytes,
                                                std::move(pixels), whole->hasAlpha());
}

}  // namespace

std::optional<PixelSize> sizeOfAny(std::span<const std::uint8_t> bytes) {
    switch (sniffFormat(bytes)) {
        case Format::Jpeg:
            return jpegSize(bytes);
        case Format::Heic:
            return heicSize(bytes);
        case Format::Png:
            return pngSize(bytes);
        case Format::Webp:
            return webpSize(bytes);
        case Format::Raw:
            return rawSize(bytes);
        case Format::Unknown:
            break;
    }
    return std::nullopt;
}

ImageHandle decodeRegionOfAny(std::span<const std::uint8_t> bytes, PixelRect region) {
    const Format format = sniffFormat(bytes);
    if (format == Format::Jpeg) return decodeJpegRegion(bytes, region);
    if (format == Format::Raw) return decodeRawRegion(bytes, region);
    return cut(decodeAny(bytes, kFullResolution), region);
}

Format sniffFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, 0, "\xFF\xD8\xFF", 3)) return Format::Jpeg;
    if (startsWith(bytes, 0, "\x89PNG\r\n\x1A\n", 8)) return Format::Png;
    if (startsWith(bytes, 0, "RIFF", 4) && startsWith(bytes, 8, "WEBP", 4)) return Format::Webp;
    if (isRaw(bytes)) return Format::Raw;
    if (isHeif(bytes)) return Format::Heic;
    return Format::Unknown;
}

ImageHandle decodeAny(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    switch (sniffFormat(bytes)) {
        case Format::Jpeg:
            return decodeJpeg(bytes, bound);
        case Format::Png:
            return decodePng(bytes, bound);
        case Format::Webp:
            return decodeWebp(bytes, bound);
        case Format::Heic:
            return decodeHeic(bytes, bound);
        case Format::Raw:
            return decodeRaw(bytes, bound);
        case Format::Unknown:
            break;
    }
    return nullptr;
}

}  // namespace vesko::decoder
