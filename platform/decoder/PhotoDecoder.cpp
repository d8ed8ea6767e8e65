#include "platform/decoder/PhotoDecoder.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/ShootingFactsReader.h"

namespace vesko {

PhotoDecoder::PhotoDecoder(DisplayBound bound) : bound_(bound) {}

namespace {

// Enough for a JPEG's markers before its frame header, EXIF with its thumbnail and ICC profile
// included; a file whose header goes on longer is read whole.
constexpr std::uint64_t kHeaderBytes = 256 << 10;

// A RAW file's metadata sits before its image data; exiv2 is handed this much of it, not all.
constexpr std::size_t kRawMetadataBytes = 1 << 20;

// The facts come from the same file as the pixels, so they can never disagree.
ImageHandle withFacts(ImageHandle decoded, ShootingFacts facts) {
    if (!decoded) return nullptr;
    auto image = std::make_shared<DecodedImage>(*decoded);
    image->setFacts(std::move(facts));
    return image;
}

// Calls `onRaw` with a camera RAW file, which LibRaw reads as it needs, else `onBytes` with the
// content of any other, whole or its first `prefix` bytes; `failed` when the file cannot be read
// or anything throws (the libraries report through their own channels; anything else thrown
// means no image).
// `buffer`, where given, holds the bytes instead of memory of their own.
template <typename Result, typename OnRaw, typename OnBytes>
Result withFile(const std::filesystem::path& path, OnRaw onRaw, OnBytes onBytes, Result failed,
                std::uint64_t prefix = UINT64_MAX, std::vector<std::uint8_t>* buffer = nullptr) {
    try {
        const auto file = decoder::RegularFile::open(path);
        if (!file) return failed;
        const auto head = file->read(0, 64);
        if (!head) return failed;
        if (decoder::sniffFormat(*head) == decoder::Format::Raw) return onRaw(*file);
        const auto length = std::size_t(std::min(file->size(), prefix));
        std::vector<std::uint8_t> own;
        const auto bytes = file->readInto(buffer ? *buffer : own, 0, length);
        if (!bytes) return failed;
        return onBytes(*bytes);
    } catch (...) {
        return failed;
    }
}

}  // namespace

ImageHandle PhotoDecoder::decode(const std::filesystem::path& file) const {
    return withFile<ImageHandle>(
        file,
        [this](const decoder::RegularFile& raw) {
            const auto head = raw.read(0, kRawMetadataBytes);
            return withFacts(decoder::decodeRaw(raw, bound_),
                             head ? decoder::readShootingFacts(*head) : ShootingFacts{});
        },
        [this](std::span<const std::uint8_t> bytes) {
            return withFacts(decoder::decodeAny(bytes, bound_), decoder::readShootingFacts(bytes));
        },
        nullptr);
}

std::optional<PixelSize> PhotoDecoder::fullSize(const std::filesystem::path& file) const {
    // A JPEG's size is in its header: the rest of the file need not be read.
    const auto fromHeader = withFile<std::optional<PixelSize>>(
        file, [](const decoder::RegularFile& raw) { return decoder::rawSize(raw); },
        [](std::span<const std::uint8_t> bytes) -> std::optional<PixelSize> {
            if (decoder::sniffFormat(bytes) != decoder::Format::Jpeg) return std::nullopt;
            return decoder::jpegSize(bytes);
        },
        std::nullopt, kHeaderBytes);
    if (fromHeader) return fromHeader;
    return withFile<std::optional<PixelSize>>(
        file, [](const decoder::RegularFile&) { return std::optional<PixelSize>(); },
        [](std::span<const std::uint8_t> bytes) { return decoder::sizeOfAny(bytes); },
        std::nullopt);
}

ImageHandle PhotoDecoder::decodeRegion(const std::filesystem::path& file, PixelRect region) const {
    // Each region of a zoomed view reads its whole file again. A thread's buffer is kept for the
    // next one (up to a size no photo of a camera reaches), so that Z does not wait on ten
    // megabytes of fresh memory being faulted in.
    constexpr std::size_t kKeptBytes = std::size_t(64) << 20;
    thread_local std::vector<std::uint8_t> kept;
    ImageHandle image = withFile<ImageHandle>(
        file,
        [region](const decoder::RegularFile& raw) { return decoder::decodeRawRegion(raw, region); },
        [region](std::span<const std::uint8_t> bytes) {
            return decoder::decodeRegionOfAny(bytes, region);
        },
        nullptr, UINT64_MAX, &kept);
    if (kept.size() > kKeptBytes) std::vector<std::uint8_t>().swap(kept);
    return image;
}

bool PhotoDecoder::decodesRegionsAlone(const std::filesystem::path& file) const {
    return withFile<bool>(
        file, [](const decoder::RegularFile& raw) { return decoder::rawDecodesRegionsAlone(raw); },
        [](std::span<const std::uint8_t> bytes) {
            return decoder::sniffFormat(bytes) == decoder::Format::Jpeg &&
                   decoder::jpegDecodesRegionsAlone(bytes);
        },
        false, kHeaderBytes);
}

DecodeProblem PhotoDecoder::whyNoImage(const std::filesystem::path& file) const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return DecodeProblem::unreadable;
    }
    std::ifstream in(file, std::ios::binary);
    std::array<char, 64> head{};
    in.read(head.data(), head.size());
    if (!in.is_open() || in.bad()) {
        return DecodeProblem::unreadable;
    }
    const std::span<const std::uint8_t> start(reinterpret_cast<const std::uint8_t*>(head.data()),
                                              static_cast<std::size_t>(in.gcount()));
    switch (decoder::sniffFormat(start)) {
        case decoder::Format::Unknown:
            return DecodeProblem::notAnImage;
        // Neither LibRaw nor exiv2 found a picture in it: far more often a camera newer than
        // they are than a damaged file, which a RAW's user must not be invited to discard.
        case decoder::Format::Raw:
            return DecodeProblem::unknownRaw;
        default:
            return DecodeProblem::undecodable;
    }
}

}  // namespace vesko
