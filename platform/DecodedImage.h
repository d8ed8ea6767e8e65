#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vesko {

// A photo decoded for display: 8-bit RGBA in memory order R, G, B, A, alpha premultiplied,
// rows top to bottom, already turned the right way up and converted to sRGB. Immutable once
// made; shared by whoever shows it, and freed when the last holder lets go.
class DecodedImage {
public:
    DecodedImage(int width, int height, std::size_t bytesPerLine, std::vector<std::uint8_t> pixels,
                 bool hasAlpha)
        : width_(width),
          height_(height),
          bytesPerLine_(bytesPerLine),
          pixels_(std::move(pixels)),
          hasAlpha_(hasAlpha) {}

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t bytesPerLine() const { return bytesPerLine_; }
    const std::uint8_t* bits() const { return pixels_.data(); }
    std::size_t byteCount() const { return pixels_.size(); }
    // False when every pixel is opaque, so the window may draw it without blending.
    bool hasAlpha() const { return hasAlpha_; }

private:
    int width_;
    int height_;
    std::size_t bytesPerLine_;
    std::vector<std::uint8_t> pixels_;
    bool hasAlpha_;
};

using ImageHandle = std::shared_ptr<const DecodedImage>;

}  // namespace vesko
