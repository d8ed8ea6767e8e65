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

}  // namespace

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
