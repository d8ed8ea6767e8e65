#include <cstring>

#include "DecoderTestSupport.h"
#include "HeicGrid.h"

#include "platform/decoder/AreaScaler.h"
#include "platform/decoder/HeicPixels.h"
#include "platform/decoder/Raster.h"

namespace vesko {
namespace {

using namespace testimages;

// Opaque red and green on a transparent left half; the right half holds a half-transparent
// blue band.
Picture withAlpha() {
    Picture picture(64, 32, {255, 255, 255, 0});
    picture.fill(32, 0, 32, 32, {0, 0, 200, 128});
    picture.fill(0, 0, 16, 16, kRed);
    picture.fill(48, 16, 16, 16, kGreen);
    return picture;
}

void expectAlphaPicture(const ImageHandle& image, int tolerance) {
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), 64);
    EXPECT_TRUE(image->hasAlpha());
    EXPECT_TRUE(near(pixelAt(*image, 8, 8), kRed, tolerance));
    EXPECT_TRUE(near(pixelAt(*image, 56, 24), kGreen, tolerance));
    EXPECT_TRUE(near(pixelAt(*image, 8, 24), {0, 0, 0, 0}, tolerance));
    EXPECT_TRUE(near(pixelAt(*image, 40, 8), {0, 0, 100, 128}, tolerance));
}

using JpegTest = DecoderTest;

TEST_F(JpegTest, BaselineProgressiveAndGreyscaleDecodeInColour) {
    expectMarkedCorners(decodeBytes(encodeJpeg(markedCorners())), 40);
    expectMarkedCorners(decodeBytes(encodeJpeg(markedCorners(), {.progressive = true})), 40);
    const ImageHandle grey =
        decodeBytes(encodeJpeg(Picture(16, 16, {90, 90, 90}), {.greyscale = true}));
    ASSERT_TRUE(grey);
    EXPECT_TRUE(near(pixelAt(*grey, 8, 8), {90, 90, 90, 255}, 2));
}

TEST_F(JpegTest, TruncatedFileShowsThePartThatDecodes) {
    Picture picture(256, 256, kBlue);
    picture.fill(0, 0, 256, 128, kRed);
    const Bytes whole = encodeJpeg(picture);
    const ImageHandle image =
        decodeBytes(Bytes(whole.begin(), whole.begin() + whole.size() * 3 / 5));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height(), 256);
    EXPECT_TRUE(near(pixelAt(*image, 100, 20), kRed, 40));
}

using PngTest = DecoderTest;

TEST_F(PngTest, EveryPixelLayoutDecodesExactly) {
    for (const PngOptions& options :
         {PngOptions{}, PngOptions{.sixteenBit = true}, PngOptions{.palette = true},
          PngOptions{.interlaced = true}}) {
        expectMarkedCorners(decodeBytes(encodePng(markedCorners(), options)), 0);
    }
    Picture grey(8, 8, {77, 77, 77});
    for (const bool sixteenBit : {false, true}) {
        const ImageHandle image =
            decodeBytes(encodePng(grey, {.sixteenBit = sixteenBit, .greyscale = true}));
        ASSERT_TRUE(image);
        EXPECT_EQ(pixelAt(*image, 3, 3), (Rgba{77, 77, 77, 255}));
    }
}

TEST_F(PngTest, AlphaIsPremultipliedInEveryLayout) {
    for (const PngOptions& options :
         {PngOptions{.alpha = true}, PngOptions{.alpha = true, .sixteenBit = true},
          PngOptions{.alpha = true, .palette = true},
          PngOptions{.alpha = true, .interlaced = true}}) {
        expectAlphaPicture(decodeBytes(encodePng(withAlpha(), options)), 1);
    }
    const ImageHandle opaque = decodeBytes(encodePng(markedCorners()));
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(opaque->hasAlpha());
}

TEST_F(PngTest, ShrinksWithAnAreaFilter) {
    // One-pixel stripes average to mid grey; a nearest-pixel shrink would give black or white.
    Picture stripes(400, 200, {0, 0, 0});
    for (int x = 0; x < 400; x += 2) stripes.fill(x, 0, 1, 200, {255, 255, 255});
    for (const bool interlaced : {false, true}) {
        const ImageHandle image =
            decodeBytes(encodePng(stripes, {.interlaced = interlaced}), {100, 100});
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), 100);
        EXPECT_EQ(image->height(), 50);
        EXPECT_TRUE(near(pixelAt(*image, 50, 25), {128, 128, 128, 255}, 1));
    }
}

TEST_F(PngTest, TransparentPixelsDoNotBleedIntoTheShrunkImage) {
    Picture picture(4, 2, {255, 0, 0, 0});
    picture.fill(2, 0, 2, 2, {0, 0, 255, 255});
    const ImageHandle image = decodeBytes(encodePng(picture, {.alpha = true}), {1, 1});
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), 1);
    EXPECT_TRUE(near(pixelAt(*image, 0, 0), {0, 0, 128, 128}, 1));
}

using WebpTest = DecoderTest;

TEST_F(WebpTest, LossyLosslessAndAlphaDecode) {
    expectMarkedCorners(decodeBytes(encodeWebp(markedCorners())), 40);
    expectAlphaPicture(decodeBytes(encodeWebp(withAlpha(), {.lossless = true})), 1);
}

// The first frame covers only part of its canvas; the second, all of it.
TEST_F(WebpTest, AnimationShowsItsFirstFrameAtItsPlaceOnTheScaledCanvas) {
    const Bytes animation =
        encodeWebpAnimation({{Picture(32, 16, kRed), 32, 16}, {Picture(64, 32, kBlue)}}, 64, 32);
    for (const DisplayBound bound : {DisplayBound{64, 64}, DisplayBound{32, 32}}) {
        const ImageHandle image = decodeBytes(animation, bound);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), bound.width);
        const int w = image->width(), h = image->height();
        EXPECT_TRUE(near(pixelAt(*image, w * 3 / 4, h * 3 / 4), kRed, 1));
        EXPECT_TRUE(near(pixelAt(*image, w / 4, h * 3 / 4), {0, 0, 0, 0}, 0));
        EXPECT_TRUE(near(pixelAt(*image, w * 3 / 4, h / 4), {0, 0, 0, 0}, 0));
    }
}

using HeicTest = DecoderTest;

TEST_F(HeicTest, EightAndTenBitWithAndWithoutAlphaDecode) {
    expectMarkedCorners(decodeBytes(encodeHeic(markedCorners())), 12);
    expectMarkedCorners(decodeBytes(encodeHeic(markedCorners(), {.tenBit = true})), 12);
    expectAlphaPicture(decodeBytes(encodeHeic(withAlpha(), {.alpha = true})), 12);
    expectAlphaPicture(decodeBytes(encodeHeic(withAlpha(), {.alpha = true, .tenBit = true})), 12);
}

TEST_F(HeicTest, GreyDecodesAsGrey) {
    Picture picture(64, 32, {40, 40, 40, 255});
    picture.fill(32, 0, 32, 32, {210, 210, 210, 255});
    const ImageHandle image = decodeBytes(encodeHeic(picture, {.grey = true}));
    ASSERT_TRUE(image);
    EXPECT_TRUE(near(pixelAt(*image, 8, 8), {40, 40, 40, 255}, 3));
    EXPECT_TRUE(near(pixelAt(*image, 56, 24), {210, 210, 210, 255}, 3));
}

// Planes of `bits` depth whose sample of channel c (0 red, 1 green, 2 blue) at x, y is
// value(c, x, y).
template <typename Value>
heif_image* planarPicture(int width, int height, int bits, Value value) {
    heif_image* image = nullptr;
    heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_444, &image);
    const heif_channel channels[3] = {heif_channel_R, heif_channel_G, heif_channel_B};
    for (int c = 0; c < 3; ++c) {
        heif_image_add_plane(image, channels[c], width, height, bits);
        int stride = 0;
        std::uint8_t* row = heif_image_get_plane(image, channels[c], &stride);
        for (int y = 0; y < height; ++y, row += stride) {
            for (int x = 0; x < width; ++x) {
                const std::uint16_t sample = std::uint16_t(value(c, x, y));
                if (bits > 8) {
                    std::memcpy(row + x * 2, &sample, 2);
                } else {
                    row[x] = std::uint8_t(sample);
                }
            }
        }
    }
    return image;
}

TEST(HeicPixels, OpaquePlanesShrinkToTheAverageOfEachArea) {
    // Four times smaller: every target pixel is the mean of a 4 x 4 block, also at the row
    // where the two threads' halves meet.
    const auto value = [](int c, int x, int y) { return c == 0 ? x / 2 : c == 1 ? y / 2 : 90; };
    heif_image* image = planarPicture(400, 300, 8, value);
    const decoder::Raster raster =
        decoder::shrinkPicture(image, true, false, {400, 300}, {100, 75});
    heif_image_release(image);
    ASSERT_EQ(raster.width, 100);
    ASSERT_EQ(raster.height, 75);
    for (int y = 0; y < 75; ++y) {
        for (int x = 0; x < 100; ++x) {
            const std::uint8_t* pixel = raster.pixels.data() + (std::size_t(y) * 100 + x) * 4;
            ASSERT_NEAR(pixel[0], x * 2 + 0.75, 1) << x << "," << y;
            ASSERT_NEAR(pixel[1], y * 2 + 0.75, 1) << x << "," << y;
            ASSERT_EQ(pixel[2], 90);
            ASSERT_EQ(pixel[3], 255);
        }
    }
}

TEST(HeicPixels, DeepPlanesRoundToEightBitsAndMixedDepthsAreRefused) {
    heif_image* tenBit = planarPicture(4, 2, 10, [](int c, int, int) {
        return c == 0 ? 1023 : c == 1 ? 512 : 0;
    });
    ASSERT_TRUE(decoder::planesShareDepth(tenBit, false));
    const decoder::Raster raster = decoder::shrinkPicture(tenBit, true, false, {4, 2}, {100, 100});
    ASSERT_EQ(raster.width, 4);
    EXPECT_EQ(raster.pixels[0], 255);
    EXPECT_EQ(raster.pixels[1], 128);
    EXPECT_EQ(raster.pixels[2], 0);
    EXPECT_EQ(raster.pixels[3], 255);
    // An alpha plane at 8 bits beside 10-bit colour: libheif is asked again for 8-bit RGBA.
    heif_image_add_plane(tenBit, heif_channel_Alpha, 4, 2, 8);
    EXPECT_FALSE(decoder::planesShareDepth(tenBit, true));
    EXPECT_TRUE(decoder::shrinkPicture(tenBit, true, true, {4, 2}, {100, 100}).pixels.empty());
    heif_image_release(tenBit);
}

// Where libheif cannot hand over planes at one depth, it is asked for interleaved RGB(A): a
// left half of (200, 100, 50) and a right half of (0, 0, 240), half transparent with alpha.
TEST(HeicPixels, InterleavedPicturesShrinkWithAndWithoutAlpha) {
    for (const bool alpha : {false, true}) {
        heif_image* image = nullptr;
        heif_image_create(8, 4, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          &image);
        heif_image_add_plane(image, heif_channel_interleaved, 8, 4, 8);
        int stride = 0;
        std::uint8_t* row = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < 4; ++y, row += stride) {
            for (int x = 0, at = 0; x < 8; ++x) {
                const std::uint8_t pixel[4] = {std::uint8_t(x < 4 ? 200 : 0),
                                               std::uint8_t(x < 4 ? 100 : 0),
                                               std::uint8_t(x < 4 ? 50 : 240), 128};
                for (int c = 0; c < (alpha ? 4 : 3); ++c) row[at++] = pixel[c];
            }
        }
        const decoder::Raster raster = decoder::shrinkPicture(image, false, alpha, {8, 4}, {4, 4});
        heif_image_release(image);
        ASSERT_EQ(raster.width, 4);
        const std::uint8_t* left = raster.pixels.data();
        const std::uint8_t* right = left + 3 * 4;
        const int a = alpha ? 128 : 255;
        EXPECT_TRUE(near({left[0], left[1], left[2], left[3]},
                         {std::uint8_t(200 * a / 255), std::uint8_t(100 * a / 255),
                          std::uint8_t(50 * a / 255), std::uint8_t(a)},
                         1))
            << "alpha " << alpha;
        EXPECT_TRUE(near({right[0], right[1], right[2], right[3]},
                         {0, 0, std::uint8_t(240 * a / 255), std::uint8_t(a)}, 1))
            << "alpha " << alpha;
    }
}

TEST_F(DecoderTest, EachFormatShrinksToTheBound) {
    // JPEG by DCT scaling: 300 x 300 shows 1600 x 800 at 300 x 150, and 2/8 (400 x 200) is the
    // smallest scale that covers it. A HEIC grid of tiles comes out as one cropped image.
    expectMarkedCornersAt(encodeJpeg(markedCorners(1600)), {300, 300}, 400, 40);
    expectMarkedCornersAt(encodeWebp(markedCorners(1000)), {250, 250}, 250, 40);
    expectMarkedCornersAt(encodeHeic(markedCorners(512)), {100, 100}, 100, 12);
    expectMarkedCornersAt(encodeHeicGrid(markedCorners(320), 128, 90), {3840, 2160}, 320, 30);
}

}  // namespace
}  // namespace vesko
