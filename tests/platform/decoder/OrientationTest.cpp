#include <string>
#include <tuple>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using namespace testimages;

// Cameras write EXIF in either byte order.
enum class Container { Jpeg, JpegLittleEndian, Png, Webp, WebpLittleEndian, Heic };

// markedCorners() or texture(60, 40), stored turned; data/turned/ holds them as HEIC.
Bytes turned(Container container, const std::string& picture, int orientation) {
    const Picture stored =
        storedFor(picture == "texture" ? texture(60, 40) : markedCorners(), orientation);
    switch (container) {
        case Container::Jpeg:
        case Container::JpegLittleEndian:
            return encodeJpeg(stored, {.orientation = orientation,
                                       .littleEndianExif = container != Container::Jpeg});
        case Container::Png:
            return encodePng(stored, {.orientation = orientation});
        case Container::Webp:
        case Container::WebpLittleEndian:
            return encodeWebp(stored, {.lossless = true,
                                       .orientation = orientation,
                                       .littleEndianExif = container != Container::Webp});
        case Container::Heic:
            // A phone writes the turn twice: as irot/imir and in EXIF. Only one may be applied.
            return fixture("turned/" + picture + "-" + std::to_string(orientation) + ".heic");
    }
    return {};
}

class OrientationTest : public DecoderTest,
                        public ::testing::WithParamInterface<std::tuple<Container, int>> {};

TEST_P(OrientationTest, ComesOutUprightWholeAndShrunk) {
    const auto [container, orientation] = GetParam();
    const Bytes file = turned(container, "corners", orientation);
    expectBlocksOf(decodeBytes(file), markedCorners(), 40);
    // Upright 64 x 32 in a tall bound: 32 x 16, which only a bound turned with the pixels gives.
    const ImageHandle shrunk = decodeBytes(file, {32, 64});
    ASSERT_TRUE(shrunk);
    EXPECT_EQ(shrunk->width(), 32);
    EXPECT_EQ(shrunk->height(), 16);
}

// A region at full resolution shows the very pixels that the whole image shows there: the same
// rows and columns, turned and converted the same way, cut to the image at its edges.
TEST_P(OrientationTest, RegionMatchesTheWholeImageAtFullResolution) {
    const auto [container, orientation] = GetParam();
    const auto file = write(turned(container, "texture", orientation));
    const PhotoDecoder decoder({4096, 4096});
    const ImageHandle whole = decoder.decode(file);
    ASSERT_TRUE(whole);
    ASSERT_EQ(decoder.fullSize(file), (PixelSize{whole->width(), whole->height()}));
    for (const PixelRect region : {PixelRect{13, 7, 29, 19}, PixelRect{45, 25, 30, 30},
                                   PixelRect{0, 0, whole->width(), whole->height()}}) {
        const PixelRect expected = clipped(region, {whole->width(), whole->height()});
        const ImageHandle part = decoder.decodeRegion(file, region);
        ASSERT_TRUE(part);
        ASSERT_EQ(part->width(), expected.width);
        ASSERT_EQ(part->height(), expected.height);
        for (int y = 0; y < part->height(); ++y) {
            for (int x = 0; x < part->width(); ++x) {
                ASSERT_TRUE(
                    near(pixelAt(*part, x, y), pixelAt(*whole, expected.x + x, expected.y + y), 1))
                    << "at " << x << ", " << y << " of the region at " << region.x << ", "
                    << region.y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, OrientationTest,
    ::testing::Combine(::testing::Values(Container::Jpeg, Container::JpegLittleEndian,
                                         Container::Png, Container::Webp,
                                         Container::WebpLittleEndian, Container::Heic),
                       ::testing::Range(1, 9)));

}  // namespace
}  // namespace vesko
