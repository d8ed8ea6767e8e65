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

class DecoderTest : public ::testing::Test {
protected:
    ImageHandle decodeBytes(const Bytes& bytes, DisplayBound bound = {3840, 2160},
                            const std::string& name = "photo") const {
        const auto file = folder_.path() / name;
        testimages::writeFile(file, bytes);
        return PhotoDecoder(bound).decode(file);
    }

    // Checks the four quadrants of an image made from markedCorners(), at any scale.
    static void expectMarkedCorners(const ImageHandle& image, int tolerance) {
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width(), image->height() * 2);
        const int w = image->width(), h = image->height();
        EXPECT_TRUE(near(pixelAt(*image, w / 8, h / 4), testimages::kRed, tolerance));
        EXPECT_TRUE(near(pixelAt(*image, w * 7 / 8, h / 4), testimages::kGreen, tolerance));
        EXPECT_TRUE(near(pixelAt(*image, w / 8, h * 3 / 4), testimages::kGrey, tolerance));
        EXPECT_TRUE(near(pixelAt(*image, w * 7 / 8, h * 3 / 4), testimages::kGrey, tolerance));
    }

    // Decodes an image made from markedCorners() within the bound: `width` wide, half as high.
    void expectMarkedCornersAt(const Bytes& file, DisplayBound bound, int width, int tolerance) {
        const ImageHandle image = decodeBytes(file, bound);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), width);
        expectMarkedCorners(image, tolerance);
    }

    TempFolder folder_;
};

}  // namespace vesko
