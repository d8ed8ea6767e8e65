#include <tuple>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using testimages::markedCorners;
using testimages::storedFor;

enum class Container { Jpeg, Png, Webp, Heic };

Bytes encodeTurned(Container container, int orientation) {
    const Picture stored = storedFor(markedCorners(), orientation);
    switch (container) {
        case Container::Jpeg:
            return testimages::encodeJpeg(stored, {.orientation = orientation});
        case Container::Png:
            return testimages::encodePng(stored, {.orientation = orientation});
        case Container::Webp:
            return testimages::encodeWebp(stored, {.lossless = true, .orientation = orientation});
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
    // Upright 64 x 32; a bound of 32 x 32 allows 32 x 16 whichever way the pixels are stored.
    const ImageHandle shrunk = decodeBytes(file, {32, 32});
    ASSERT_TRUE(shrunk);
    EXPECT_EQ(shrunk->width(), 32);
    EXPECT_EQ(shrunk->height(), 16);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, OrientationTest,
                         ::testing::Combine(::testing::Values(Container::Jpeg, Container::Png,
                                                              Container::Webp, Container::Heic),
                                            ::testing::Range(1, 9)));

}  // namespace
}  // namespace vesko
