#include "DecoderTestSupport.h"

#include "platform/decoder/HeicPixels.h"
#include "platform/decoder/Raster.h"

namespace vesko {
namespace {

using namespace testimages;

struct Layout {
    std::string name;
    Bytes file;
    Picture expected;
    int tolerance;
    DisplayBound bound = {3840, 2160};
    int width = 64;  // as shrunk to the bound
};

// Every pixel layout of every format: grey, deep, palette, interlaced, progressive, alpha; and
// every format shrunk to a bound: JPEG by DCT scaling, where 300 x 300 shows 1600 x 800 at
// 300 x 150 and 2/8 (400 x 200) is the smallest scale that covers it. A HEIC grid of tiles comes
// out as one cropped image. Each file is named .jpg: the format is told by the content.
TEST_F(DecoderTest, EachLayoutDecodesToItsPixels) {
    const Picture opaque = markedCorners(), alpha = withAlpha(), grey = greyed(opaque);
    const std::vector<Layout> layouts{
        {"JPEG", encodeJpeg(opaque), opaque, 40},
        {"progressive JPEG", fixture("progressive.jpg"), opaque, 40},
        {"grey JPEG", fixture("grey.jpg"), grey, 40},
        {"PNG", encodePng(opaque), opaque, 0},
        {"16-bit PNG", fixture("sixteen-bit.png"), opaque, 0},
        {"interlaced PNG", encodePng(opaque, {.interlaced = true}), opaque, 0},
        {"palette PNG", fixture("palette.png"), opaque, 0},
        {"grey PNG", fixture("grey.png"), grey, 0},
        {"16-bit grey PNG", fixture("sixteen-bit-grey.png"), grey, 0},
        {"PNG with alpha", encodePng(alpha, {.alpha = true}), alpha, 1},
        {"16-bit PNG with alpha", fixture("sixteen-bit-alpha.png"), alpha, 1},
        {"interlaced PNG with alpha", encodePng(alpha, {.alpha = true, .interlaced = true}), alpha,
         1},
        {"palette PNG with alpha", fixture("palette-alpha.png"), alpha, 1},
        {"lossy WebP", encodeWebp(opaque), opaque, 40},
        {"lossless WebP with alpha", encodeWebp(alpha, {.lossless = true}), alpha, 1},
        {"HEIC", fixture("plain.heic"), opaque, 12},
        {"10-bit HEIC", fixture("ten-bit.heic"), opaque, 12},
        {"grey HEIC", fixture("grey.heic"), grey, 12},
        {"HEIC with alpha", fixture("alpha.heic"), alpha, 12},
        {"10-bit HEIC with alpha", fixture("ten-bit-alpha.heic"), alpha, 12},
        {"shrunk JPEG", encodeJpeg(markedCorners(1600)), opaque, 40, {300, 300}, 400},
        {"shrunk HEIC", fixture("large.heic"), opaque, 12, {100, 100}, 100},
        {"HEIC grid", fixture("grid.heic"), opaque, 30, {3840, 2160}, 320},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const ImageHandle image = decodeBytes(layout.file, layout.bound, "photo.jpg");
        expectBlocksOf(image, layout.expected, layout.tolerance);
        EXPECT_EQ(image ? image->width() : 0, layout.width);
    }
    // HEIC shrinks its top and bottom halves apart: they meet without a seam in the grey middle.
    const ImageHandle shrunk = decodeBytes(fixture("large.heic"), {100, 100});
    for (int y = 0; shrunk && y < shrunk->height(); ++y) {
        EXPECT_TRUE(near(pixelAt(*shrunk, 50, y), kGrey, 12)) << "row " << y;
    }
}

TEST_F(DecoderTest, PngShrinksWithAnAreaFilterThatTransparentPixelsDoNotBleedInto) {
    // One-pixel stripes average to mid grey; a nearest-pixel shrink would give black or white.
    Picture stripes(400, 200, {0, 0, 0});
    for (int x = 0; x < 400; x += 2) stripes.fill(x, 0, 1, 200, {255, 255, 255});
    for (const bool interlaced : {false, true}) {
        const ImageHandle image =
            decodeBytes(encodePng(stripes, {.interlaced = interlaced}), {100, 100});
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), 100);
        EXPECT_TRUE(near(pixelAt(*image, 50, 25), {128, 128, 128, 255}, 1));
    }
    Picture halfClear(4, 2, {255, 0, 0, 0});
    halfClear.fill(2, 0, 2, 2, {0, 0, 255, 255});
    const ImageHandle image = decodeBytes(encodePng(halfClear, {.alpha = true}), {1, 1});
    ASSERT_TRUE(image);
    EXPECT_TRUE(near(pixelAt(*image, 0, 0), {0, 0, 128, 128}, 1));
}

// The first frame covers only part of its canvas; the second, all of it. The canvas around
// the frame is the one place the decoder leaves undrawn: an earlier photo must not show there.
TEST_F(DecoderTest, WebpAnimationShowsItsFirstFrameAtItsPlaceOnTheScaledCanvas) {
    for (const DisplayBound bound : {DisplayBound{64, 64}, DisplayBound{32, 32}}) {
        decodeBytes(encodePng(Picture(bound.width, bound.width / 2, kGreen)));
        const ImageHandle image = decodeBytes(fixture("animation.webp"), bound);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), bound.width);
        const int w = image->width(), h = image->height();
        EXPECT_TRUE(near(pixelAt(*image, w * 3 / 4, h * 3 / 4), kRed, 1));
        EXPECT_TRUE(near(pixelAt(*image, w / 4, h * 3 / 4), {0, 0, 0, 0}, 0));
        EXPECT_TRUE(near(pixelAt(*image, w * 3 / 4, h / 4), {0, 0, 0, 0}, 0));
    }
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
        const auto at = [&raster](int x) {
            const std::uint8_t* p = raster.pixels.data() + x * 4;
            return Rgba{p[0], p[1], p[2], p[3]};
        };
        const auto a = std::uint8_t(alpha ? 128 : 255);
        const auto times = [a](int v) { return std::uint8_t(v * a / 255); };
        EXPECT_TRUE(near(at(0), {times(200), times(100), times(50), a}, 1)) << "alpha " << alpha;
        EXPECT_TRUE(near(at(3), {0, 0, times(240), a}, 1)) << "alpha " << alpha;
    }
}

}  // namespace
}  // namespace vesko
