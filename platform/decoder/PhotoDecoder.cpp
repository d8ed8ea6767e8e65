#include "platform/decoder/PhotoDecoder.h"

#include <array>
#include <fstream>

#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/ShootingFactsReader.h"

namespace vesko {

PhotoDecoder::PhotoDecoder(DisplayBound bound) : bound_(bound) {}

ImageHandle PhotoDecoder::decode(const std::filesystem::path& file) const {
    try {
        const auto bytes = decoder::readWholeFile(file);
        if (!bytes) return nullptr;
        ImageHandle decoded = decoder::decodeAny(*bytes, bound_);
        if (!decoded) return nullptr;
        // The facts come from the same bytes as the pixels, so they can never disagree.
        auto image = std::make_shared<DecodedImage>(*decoded);
        image->setFacts(decoder::readShootingFacts(*bytes));
        return image;
    } catch (...) {
        // The libraries report through their own channels; anything else thrown means no image.
        return nullptr;
    }
}

std::optional<PixelSize> PhotoDecoder::fullSize(const std::filesystem::path& file) const {
    try {
        const auto bytes = decoder::readWholeFile(file);
        if (!bytes) return std::nullopt;
        return decoder::sizeOfAny(*bytes);
    } catch (...) {
        return std::nullopt;
    }
}

ImageHandle PhotoDecoder::decodeRegion(const std::filesystem::path& file, PixelRect region) const {
    try {
        const auto bytes = decoder::readWholeFile(file);
        if (!bytes) return nullptr;
        return decoder::decodeRegionOfAny(*bytes, region);
    } catch (...) {
        return nullptr;
    }
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
    return decoder::sniffFormat(start) == decoder::Format::Unknown ? DecodeProblem::notAnImage
                                                                   : DecodeProblem::undecodable;
}

}  // namespace vesko
