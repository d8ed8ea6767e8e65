#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "TestImages.h"
#include "platform/decoder/PhotoDecoder.h"
#include "tests/platform/TempFolder.h"

namespace vesko {

using testimages::Bytes;
using testimages::Picture;
using testimages::Rgba;

// The pixel as the window gets it: premultiplied RGBA.
inline Rgba pixelAt(const DecodedImage& image, int x, int y) {
    const std::uint8_t* p = image.bits() + std::size_t(y) * image.bytesPerLine() + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

inline ::testing::AssertionResult near(Rgba actual, Rgba expected, int tolerance) {
    const int worst = std::max({std::abs(actual.r - expected.r), std::abs(actual.g - expected.g),
                                std::abs(actual.b - expected.b), std::abs(actual.a - expected.a)});
    if (worst <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " is not within " << tolerance << " of " << expected;
}

// Checks an image decoded from `picture` (twice as wide as high, in 4 x 2 blocks of one colour
// such as markedCorners() and withAlpha()), at any scale: its shape, its alpha, and the middle
// of every block.
inline void expectBlocksOf(const ImageHandle& image, const Picture& picture, int tolerance) {
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), image->height() * 2);
    const bool translucent =
        std::any_of(picture.pixels.begin(), picture.pixels.end(), [](Rgba p) { return p.a < 255; });
    EXPECT_EQ(image->hasAlpha(), translucent);
    for (int y = 8; y < 32; y += 16) {
        for (int x = 8; x < 64; x += 16) {
            const Rgba p = picture.at(x * picture.width / 64, y * picture.height / 32);
            const auto premultiplied = [&p](std::uint8_t v) { return std::uint8_t(v * p.a / 255); };
            const Rgba expected{premultiplied(p.r), premultiplied(p.g), premultiplied(p.b), p.a};
            const Rgba actual = pixelAt(*image, x * image->width() / 64, y * image->height() / 32);
            EXPECT_TRUE(near(actual, expected, tolerance)) << "block at " << x << ", " << y;
        }
    }
}

class DecoderTest : public ::testing::Test {
protected:
    std::filesystem::path write(const Bytes& bytes, const std::string& name = "photo") const {
        const auto file = folder_.path() / name;
        testimages::writeFile(file, bytes);
        return file;
    }

    ImageHandle decodeBytes(const Bytes& bytes, DisplayBound bound = {3840, 2160},
                            const std::string& name = "photo") const {
        return PhotoDecoder(bound).decode(write(bytes, name));
    }

    TempFolder folder_;
};

}  // namespace vesko
