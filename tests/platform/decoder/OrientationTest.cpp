#include <tuple>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using testimages::markedCorners;
using testimages::storedFor;

// Cameras write EXIF in either byte order; JPEG and WebP are tried in both.
enum class Container { Jpeg, JpegLittleEndian, Png, Webp, WebpLittleEndian, Heic };

Bytes encodeTurned(Container container, int orientation) {
    const Picture stored = storedFor(markedCorners(), orientation);
    const bool ii =
        container == Container::JpegLittleEndian || container == Container::WebpLittleEndian;
    switch (container) {
        case Container::Jpeg:
        case Container::JpegLittleEndian:
            return testimages::encodeJpeg(stored,
                                          {.orientation = orientation, .littleEndianExif = ii});
        case Container::Png:
            return testimages::encodePng(stored, {.orientation = orientation});
        case Container::Webp:
        case Container::WebpLittleEndian:
            return testimages::encodeWebp(
                stored, {.lossless = true, .orientation = orientation, .littleEndianExif = ii});
        case Container::Heic:
            // A phone writes the turn twice: as irot/imir and in EXIF. Only one may be applied.
            return testimages::encodeHeic(
                stored, {.rotation = orientation, .exifOrientation = orientation});
    }
    return {};
}

class OrientationTest : public DecoderTest,
                        public ::testing::WithParamInterface<std::tuple<Container, int>> {};

TEST_P(OrientationTest, ComesOutUprightWholeAndShrunk) {
    const auto [container, orientation] = GetParam();
    const Bytes file = encodeTurned(container, orientation);
    expectMarkedCorners(decodeBytes(file), 40);
    // Upright 64 x 32 in a tall bound: 32 x 16, which only a bound turned with the pixels gives.
    const ImageHandle shrunk = decodeBytes(file, {32, 64});
    ASSERT_TRUE(shrunk);
    EXPECT_EQ(shrunk->width(), 32);
    EXPECT_EQ(shrunk->height(), 16);
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, OrientationTest,
    ::testing::Combine(::testing::Values(Container::Jpeg, Container::JpegLittleEndian,
                                         Container::Png, Container::Webp,
                                         Container::WebpLittleEndian, Container::Heic),
                       ::testing::Range(1, 9)));

}  // namespace
}  // namespace vesko
