#include <tuple>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

// Every pixel differs from its neighbours, so a region shifted by one pixel shows.
Picture gradient() {
    Picture picture(60, 40);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            picture.at(x, y) = {std::uint8_t(x * 4), std::uint8_t(y * 6), 90, 255};
        }
    }
    return picture;
}

enum class Container { Jpeg, Png, Webp, Heic };

Bytes encodeTurned(Container container, int orientation) {
    const Picture stored = testimages::storedFor(gradient(), orientation);
    switch (container) {
        case Container::Jpeg:
            return testimages::encodeJpeg(stored, {.orientation = orientation});
        case Container::Png:
            return testimages::encodePng(stored, {.orientation = orientation});
        case Container::Webp:
            return testimages::encodeWebp(stored, {.lossless = true, .orientation = orientation});
        case Container::Heic:
            return testimages::encodeHeic(stored, {.rotation = orientation});
    }
    return {};
}

class RegionTest : public DecoderTest,
                   public ::testing::WithParamInterface<std::tuple<Container, int>> {};

// A region at full resolution shows the very pixels that the whole image shows there: the same
// rows and columns, turned and converted the same way, cut to the image at its edges.
TEST_P(RegionTest, MatchesTheWholeImageAtFullResolution) {
    const auto [container, orientation] = GetParam();
    const auto file = folder_.path() / "photo";
    testimages::writeFile(file, encodeTurned(container, orientation));
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
        int worst = 0;
        for (int y = 0; y < part->height(); ++y) {
            for (int x = 0; x < part->width(); ++x) {
                const Rgba a = pixelAt(*part, x, y);
                const Rgba b = pixelAt(*whole, expected.x + x, expected.y + y);
                worst = std::max(
                    {worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            }
        }
        EXPECT_LE(worst, 1) << "region at " << region.x << "," << region.y;
    }
}

INSTANTIATE_TEST_SUITE_P(EachOrientation, RegionTest,
                         ::testing::Combine(::testing::Values(Container::Jpeg, Container::Png),
                                            ::testing::Range(1, 9)));
INSTANTIATE_TEST_SUITE_P(OtherFormats, RegionTest,
                         ::testing::Combine(::testing::Values(Container::Webp, Container::Heic),
                                            ::testing::Values(1, 6)));

}  // namespace
}  // namespace vesko
