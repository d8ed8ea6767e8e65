#include "RawImages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vesko::testimages {
namespace {

enum Type : std::uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

void put(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

struct Entry {
    std::uint16_t tag;
    Type type;
    std::uint32_t count;
    Bytes value;
};
// An image file directory: its entries, and values longer than four bytes right after it.
using Ifd = std::vector<Entry>;

Entry numbers(std::uint16_t tag, Type type, std::initializer_list<std::uint32_t> values) {
    Entry entry{
        tag, type, std::uint32_t(type == kRational ? values.size() / 2 : values.size()), {}};
    for (const std::uint32_t v : values)
        put(entry.value, v, type == kShort ? 2 : type == kByte ? 1 : 4);
    return entry;
}

Entry text(std::uint16_t tag, const char* text) {
    return {tag, kAscii, std::uint32_t(std::strlen(text) + 1),
            Bytes(text, text + std::strlen(text) + 1)};
}

std::size_t sizeOf(const Ifd& ifd) {
    std::size_t size = 2 + 12 * ifd.size() + 4;
    for (const Entry& entry : ifd) size += entry.value.size() > 4 ? entry.value.size() : 0;
    return size;
}

// Appends the directory, which lands at `out.size()`, in tag order.
void write(Bytes& out, Ifd ifd) {
    std::ranges::sort(ifd, {}, &Entry::tag);
    std::size_t spill = out.size() + 2 + 12 * ifd.size() + 4;
    put(out, std::uint32_t(ifd.size()), 2);
    for (const Entry& entry : ifd) {
        put(out, entry.tag, 2);
        put(out, entry.type, 2);
        put(out, entry.count, 4);
        const bool spilled = entry.value.size() > 4;
        Bytes inline_ = spilled ? Bytes{} : entry.value;
        if (spilled) put(inline_, std::uint32_t(spill), 4);
        spill += spilled ? entry.value.size() : 0;
        inline_.resize(4);
        out.insert(out.end(), inline_.begin(), inline_.end());
    }
    put(out, 0, 4);
    for (const Entry& entry : ifd) {
        if (entry.value.size() > 4) out.insert(out.end(), entry.value.begin(), entry.value.end());
    }
}

// RGGB, 16 bits, in linear light from the picture's sRGB-like values (a plain 2.2 power).
Bytes mosaic(const Picture& sensor) {
    Bytes raw;
    for (int y = 0; y < sensor.height; ++y) {
        for (int x = 0; x < sensor.width; ++x) {
            const Rgba p = sensor.at(x, y);
            const int value = y % 2 == 0 ? (x % 2 == 0 ? p.r : p.g) : (x % 2 == 0 ? p.g : p.b);
            put(raw, std::uint32_t(std::lround(std::pow(value / 255.0, 2.2) * 65535)), 2);
        }
    }
    return raw;
}

Ifd rawIfd(const Picture& sensor, std::uint32_t offset, std::uint32_t length) {
    return {numbers(256, kLong, {std::uint32_t(sensor.width)}),
            numbers(257, kLong, {std::uint32_t(sensor.height)}),
            numbers(258, kShort, {16}),
            numbers(259, kShort, {1}),
            numbers(262, kShort, {32803}),  // colour filter array
            numbers(273, kLong, {offset}),
            numbers(277, kShort, {1}),
            numbers(279, kLong, {length}),
            numbers(33421, kShort, {2, 2}),        // CFARepeatPatternDim
            numbers(33422, kByte, {0, 1, 1, 2})};  // CFAPattern: RGGB
}

// Width and height from a baseline or progressive JPEG's frame header.
std::pair<std::uint32_t, std::uint32_t> jpegSizeOf(const Bytes& jpeg) {
    for (std::size_t at = 2; at + 9 < jpeg.size();) {
        if (jpeg[at + 1] >= 0xC0 && jpeg[at + 1] <= 0xC2) {
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
    const Bytes preview = options.previewIsBitmap ? Bytes(16 * 8 * 3, 128) : options.preview;
    const auto previewSize = options.previewIsBitmap ? std::pair(16u, 8u) : jpegSizeOf(preview);
    const Ifd exif = {numbers(40961, kShort, {options.adobeRgb ? 2u : 1u})};  // ColorSpace
    // The layout: header, EXIF, IFD 0, the raw IFD, the preview, the raw data. The directories'
    // sizes do not depend on the offsets written into them.
    const auto directories = [&](std::size_t rawIfdAt, std::size_t previewAt, std::size_t rawAt) {
        const auto rawOffset = std::uint32_t(options.withRawData ? rawAt : rawAt + (1u << 24));
        Ifd first = {text(271, "Vesko"),
                     text(272, "Test DNG"),
                     numbers(274, kShort, {unsigned(options.orientation)}),
                     numbers(34665, kLong, {8}),  // the EXIF IFD
                     numbers(50706, kByte, {1, 4, 0, 0}),
                     numbers(50728, kRational, {1, 1, 1, 1, 1, 1})};  // AsShotNeutral
        if (!hasPreview) {
            const Ifd raws = rawIfd(sensor, rawOffset, std::uint32_t(raw.size()));
            first.insert(first.end(), raws.begin(), raws.end());
            return std::pair(first, Ifd{});
        }
        const bool jpeg = !options.previewIsBitmap;
        const auto previewOffset = std::uint32_t(long(previewAt) + options.previewOffsetShift);
        const Ifd previewTags =
            options.previewAsExifJpeg
                ? Ifd{numbers(513, kLong, {previewOffset}),
                      numbers(514, kLong, {std::uint32_t(preview.size())}),
                      numbers(330, kLong, {std::uint32_t(rawIfdAt)})}
                : Ifd{numbers(254, kLong, {1}),
                      numbers(256, kLong, {previewSize.first}),
                      numbers(257, kLong, {previewSize.second}),
                      numbers(258, kShort, {8, 8, 8}),
                      numbers(259, kShort, {jpeg ? 7u : 1u}),
                      numbers(262, kShort, {jpeg ? 6u : 2u}),
                      numbers(273, kLong, {previewOffset}),
                      numbers(277, kShort, {3}),
                      numbers(279, kLong, {std::uint32_t(preview.size())}),
                      numbers(330, kLong, {std::uint32_t(rawIfdAt)})};  // SubIFDs
        first.insert(first.end(), previewTags.begin(), previewTags.end());
        return std::pair(first, rawIfd(sensor, rawOffset, std::uint32_t(raw.size())));
    };
    const std::size_t firstAt = 8 + sizeOf(exif);
    const auto [first, raws] = directories(0, 0, 0);
    const std::size_t rawIfdAt = firstAt + sizeOf(first);
    const std::size_t previewAt = rawIfdAt + (hasPreview ? sizeOf(raws) : 0);
    const std::size_t rawAt = (previewAt + preview.size() + 1) & ~std::size_t(1);
    const auto [firstAgain, rawsAgain] = directories(rawIfdAt, previewAt, rawAt);
    Bytes out{'I', 'I', 42, 0};
    put(out, std::uint32_t(firstAt), 4);
    write(out, exif);
    write(out, firstAgain);
    if (hasPreview) write(out, rawsAgain);
    out.insert(out.end(), preview.begin(), preview.end());
    out.resize(rawAt);
    out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

}  // namespace vesko::testimages
