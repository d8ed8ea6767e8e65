#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ShootingFacts.h"

namespace vesko {

// A photo decoded for display: 8-bit RGBA in memory order R, G, B, A, alpha premultiplied,
// rows top to bottom, already turned the right way up and converted to sRGB. Immutable once
// made; shared by whoever shows it, and freed when the last holder lets go.
class DecodedImage {
public:
    DecodedImage(int width, int height, std::size_t bytesPerLine, std::vector<std::uint8_t> pixels,
                 bool hasAlpha)
        : DecodedImage(width, height, bytesPerLine, nullptr, pixels.size(), hasAlpha) {
        bits_ = held(std::move(pixels));
    }

    // Pixels whose memory is kept by the pointer's owner, which is let go with the image (so
    // that the memory can go back where it came from rather than to the heap).
    DecodedImage(int width, int height, std::size_t bytesPerLine,
                 std::shared_ptr<const std::uint8_t> bits, std::size_t byteCount, bool hasAlpha)
        : width_(width),
          height_(height),
          bytesPerLine_(bytesPerLine),
          bits_(std::move(bits)),
          byteCount_(byteCount),
          hasAlpha_(hasAlpha) {}

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t bytesPerLine() const { return bytesPerLine_; }
    const std::uint8_t* bits() const { return bits_.get(); }
    std::size_t byteCount() const { return byteCount_; }
    // False when every pixel is opaque, so the window may draw it without blending.
    bool hasAlpha() const { return hasAlpha_; }
    // How the photo was taken; read with its pixels, so that the two always belong together.
    const ShootingFacts& facts() const { return facts_; }
    // Only while the image is not yet shared.
    void setFacts(ShootingFacts facts) { facts_ = std::move(facts); }

private:
    static std::shared_ptr<const std::uint8_t> held(std::vector<std::uint8_t>&& pixels) {
        auto kept = std::make_shared<std::vector<std::uint8_t>>(std::move(pixels));
        return {kept, kept->data()};
    }

    int width_;
    int height_;
    std::size_t bytesPerLine_;
    std::shared_ptr<const std::uint8_t> bits_;
    std::size_t byteCount_;
    bool hasAlpha_;
    ShootingFacts facts_;
};

using ImageHandle = std::shared_ptr<const DecodedImage>;

}  // namespace vesko
