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
        case Format::Unknown:
            break;
    }
    return std::nullopt;
}

ImageHandle decodeRegionOfAny(std::span<const std::uint8_t> bytes, PixelRect region) {
    if (sniffFormat(bytes) == Format::Jpeg) return decodeJpegRegion(bytes, region);
    return cut(decodeAny(bytes, kFullResolution), region);
}

Format sniffFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, 0, "\xFF\xD8\xFF", 3)) return Format::Jpeg;
    if (startsWith(bytes, 0, "\x89PNG\r\n\x1A\n", 8)) return Format::Png;
    if (startsWith(bytes, 0, "RIFF", 4) && startsWith(bytes, 8, "WEBP", 4)) return Format::Webp;
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
        case Format::Unknown:
            break;
    }
    return nullptr;
}

}  // namespace vesko::decoder
