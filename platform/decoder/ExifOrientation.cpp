#include "platform/decoder/ExifOrientation.h"

#include <cstring>

namespace vesko::decoder {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;

class TiffReader {
public:
    explicit TiffReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool readByteOrder() {
        if (bytes_.size() < 8) return false;
        if (bytes_[0] == 'I' && bytes_[1] == 'I') {
            littleEndian_ = true;
        } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
            littleEndian_ = false;
        } else {
            return false;
        }
        return u16(2) == 42;
    }

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::uint16_t u16(std::size_t at) const {
        if (!has(at, 2)) return 0;
        return littleEndian_ ? std::uint16_t(bytes_[at] | bytes_[at + 1] << 8)
                             : std::uint16_t(bytes_[at] << 8 | bytes_[at + 1]);
    }

    std::uint32_t u32(std::size_t at) const {
        if (!has(at, 4)) return 0;
        const std::uint32_t high = u16(littleEndian_ ? at + 2 : at);
        const std::uint32_t low = u16(littleEndian_ ? at : at + 2);
        return high << 16 | low;
    }

private:
    std::span<const std::uint8_t> bytes_;
    bool littleEndian_ = true;
};

int orientationInFirstDirectory(const TiffReader& tiff) {
    const std::size_t directory = tiff.u32(4);
    if (!tiff.has(directory, 2)) return 1;
    const std::size_t entries = tiff.u16(directory);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        if (!tiff.has(entry, 12)) return 1;
        if (tiff.u16(entry) != kOrientationTag) continue;
        if (tiff.u16(entry + 2) != kShortType || tiff.u32(entry + 4) != 1) return 1;
        const int value = tiff.u16(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

}  // namespace

int exifOrientation(std::span<const std::uint8_t> exif) {
    static constexpr char kPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
    if (exif.size() >= sizeof kPrefix && std::memcmp(exif.data(), kPrefix, sizeof kPrefix) == 0) {
        exif = exif.subspan(sizeof kPrefix);
    }
    TiffReader tiff(exif);
    if (!tiff.readByteOrder()) return 1;
    return orientationInFirstDirectory(tiff);
}

}  // namespace vesko::decoder
