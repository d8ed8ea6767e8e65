#include "RawImages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace vesko::testimages {
namespace {

enum Type : std::uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

void put16(Bytes& out, unsigned value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One image file directory: its entries in tag order, and values longer than four bytes
// stored right after it.
class Ifd {
public:
    void add(std::uint16_t tag, Type type, std::uint32_t count, Bytes value) {
        entries_.push_back({tag, type, count, std::move(value)});
    }
    void shorts(std::uint16_t tag, std::initializer_list<unsigned> values) {
        Bytes value;
        for (const unsigned v : values) put16(value, v);
        add(tag, kShort, std::uint32_t(values.size()), value);
    }
    void longs(std::uint16_t tag, std::initializer_list<std::uint32_t> values) {
        Bytes value;
        for (const std::uint32_t v : values) put32(value, v);
        add(tag, kLong, std::uint32_t(values.size()), value);
    }
    void text(std::uint16_t tag, const char* text) {
        add(tag, kAscii, std::uint32_t(std::strlen(text) + 1),
            Bytes(text, text + std::strlen(text) + 1));
    }

    std::size_t size() const {
        std::size_t size = 2 + 12 * entries_.size() + 4;
        for (const Entry& entry : entries_) size += entry.value.size() > 4 ? entry.value.size() : 0;
        return size;
    }

    // Appends the directory; it must land at `out.size()`.
    void write(Bytes& out) {
        std::ranges::sort(entries_, {}, &Entry::tag);
        const std::size_t at = out.size();
        std::size_t spill = at + 2 + 12 * entries_.size() + 4;
        put16(out, unsigned(entries_.size()));
        for (const Entry& entry : entries_) {
            put16(out, entry.tag);
            put16(out, entry.type);
            put32(out, entry.count);
            if (entry.value.size() > 4) {
                put32(out, std::uint32_t(spill));
                spill += entry.value.size();
            } else {
                Bytes inline_ = entry.value;
                inline_.resize(4);
                out.insert(out.end(), inline_.begin(), inline_.end());
            }
        }
        put32(out, 0);
        for (const Entry& entry : entries_) {
            if (entry.value.size() > 4)
                out.insert(out.end(), entry.value.begin(), entry.value.end());
        }
    }

private:
    struct Entry {
        std::uint16_t tag;
        Type type;
        std::uint32_t count;
        Bytes value;
    };
    std::vector<Entry> entries_;
};

// The sensor's linear light for a picture's sRGB-like values (a plain 2.2 power).
unsigned linear(std::uint8_t value) {
    return unsigned(std::lround(std::pow(value / 255.0, 2.2) * 65535));
}

Bytes mosaic(const Picture& sensor) {
    Bytes raw;
    raw.reserve(std::size_t(sensor.width) * sensor.height * 2);
    for (int y = 0; y < sensor.height; ++y) {
        for (int x = 0; x < sensor.width; ++x) {
            const Rgba p = sensor.at(x, y);
            const std::uint8_t value =
                y % 2 == 0 ? (x % 2 == 0 ? p.r : p.g) : (x % 2 == 0 ? p.g : p.b);
            put16(raw, linear(value));
        }
    }
    return raw;
}

void describeCamera(Ifd& ifd) {
    ifd.text(271, "Vesko");
    ifd.text(272, "Test DNG");
    ifd.add(50706, kByte, 4, {1, 4, 0, 0});  // DNGVersion
    ifd.text(50708, "Vesko Test DNG");
    Bytes neutral;
    for (int i = 0; i < 3; ++i) {
        put32(neutral, 1);
        put32(neutral, 1);
    }
    ifd.add(50728, kRational, 3, neutral);  // AsShotNeutral
}

void describeRaw(Ifd& ifd, const Picture& sensor, std::uint32_t offset, std::uint32_t length) {
    ifd.longs(254, {0});
    ifd.longs(256, {std::uint32_t(sensor.width)});
    ifd.longs(257, {std::uint32_t(sensor.height)});
    ifd.shorts(258, {16});
    ifd.shorts(259, {1});
    ifd.shorts(262, {32803});  // colour filter array
    ifd.longs(273, {offset});
    ifd.shorts(277, {1});
    ifd.longs(278, {std::uint32_t(sensor.height)});
    ifd.longs(279, {length});
    ifd.shorts(33421, {2, 2});               // CFARepeatPatternDim
    ifd.add(33422, kByte, 4, {0, 1, 1, 2});  // CFAPattern: RGGB
    ifd.shorts(50717, {65535});              // WhiteLevel
}

// Width and height from a baseline or progressive JPEG's frame header.
std::pair<int, int> jpegSizeOf(const Bytes& jpeg) {
    for (std::size_t at = 2; at + 9 < jpeg.size();) {
        const unsigned marker = jpeg[at + 1];
        if (marker >= 0xC0 && marker <= 0xC2) {
            return {jpeg[at + 7] << 8 | jpeg[at + 8], jpeg[at + 5] << 8 | jpeg[at + 6]};
        }
        at += 2 + std::size_t(jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return {0, 0};
}

}  // namespace

Bytes makeDng(const Picture& sensor, const DngOptions& options) {
    const Bytes raw = mosaic(sensor);
    const bool hasPreview = options.previewIsBitmap || !options.preview.empty();
    // A bitmap preview: 16 x 8 of mid grey.
    const Bytes preview = options.previewIsBitmap ? Bytes(16 * 8 * 3, 128) : options.preview;
    Ifd first, rawIfd, exif;
    exif.shorts(40961, {options.adobeRgb ? 2u : 1u});  // ColorSpace
    const std::size_t exifAt = 8;
    // Sizes first (they do not depend on the offsets written into them), then the bytes.
    const auto build = [&](std::size_t rawIfdAt, std::size_t previewAt, std::size_t rawAt) {
        first = {};
        rawIfd = {};
        describeCamera(first);
        first.shorts(274, {unsigned(options.orientation)});
        first.longs(34665, {std::uint32_t(exifAt)});
        const auto rawLength = std::uint32_t(raw.size());
        const auto rawOffset = std::uint32_t(options.withRawData ? rawAt : rawAt + (1u << 24));
        if (!hasPreview) {
            describeRaw(first, sensor, rawOffset, rawLength);
            return;
        }
        describeRaw(rawIfd, sensor, rawOffset, rawLength);
        first.longs(330, {std::uint32_t(rawIfdAt)});  // SubIFDs
        first.longs(254, {1});
        first.longs(273, {std::uint32_t(long(previewAt) + options.previewOffsetShift)});
        first.longs(279, {std::uint32_t(preview.size())});
        first.shorts(277, {3});
        first.shorts(258, {8, 8, 8});
        if (options.previewIsBitmap) {
            first.longs(256, {16});
            first.longs(257, {8});
            first.shorts(259, {1});
            first.shorts(262, {2});
            first.longs(278, {8});
        } else {
            const auto size = jpegSizeOf(preview);
            first.longs(256, {std::uint32_t(size.first)});
            first.longs(257, {std::uint32_t(size.second)});
            first.shorts(259, {7});
            first.shorts(262, {6});
            first.longs(278, {std::uint32_t(size.second)});
        }
    };
    build(0, 0, 0);
    const std::size_t firstAt = exifAt + exif.size();
    const std::size_t rawIfdAt = firstAt + first.size();
    const std::size_t previewAt = rawIfdAt + (hasPreview ? rawIfd.size() : 0);
    const std::size_t rawAt = (previewAt + preview.size() + 1) & ~std::size_t(1);
    build(rawIfdAt, previewAt, rawAt);
    Bytes out{'I', 'I', 42, 0};
    put32(out, std::uint32_t(firstAt));
    exif.write(out);
    first.write(out);
    if (hasPreview) rawIfd.write(out);
    out.insert(out.end(), preview.begin(), preview.end());
    out.resize(rawAt);
    out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

}  // namespace vesko::testimages
