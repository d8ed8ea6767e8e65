#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using testimages::displayP3Profile;

// (90, 170, 80) in Display P3 is (52, 172, 66) in sRGB: a difference no codec error explains.
constexpr Rgba kP3Colour{90, 170, 80, 255};
constexpr Rgba kAsSrgb{52, 172, 66, 255};

class ColourTest : public DecoderTest {
protected:
    Picture patch() const { return Picture(32, 32, kP3Colour); }

    void expectColour(const Bytes& bytes, Rgba expected, int tolerance) {
        const ImageHandle image = decodeBytes(bytes);
        ASSERT_TRUE(image);
        EXPECT_TRUE(near(pixelAt(*image, 16, 16), expected, tolerance));
    }
};

TEST_F(ColourTest, DisplayP3ProfilesAreConvertedToSrgb) {
    expectColour(testimages::encodeJpeg(patch(), {.icc = displayP3Profile()}), kAsSrgb, 6);
    expectColour(testimages::encodePng(patch(), {.icc = displayP3Profile()}), kAsSrgb, 2);
    expectColour(testimages::encodeWebp(patch(), {.lossless = true, .icc = displayP3Profile()}),
                 kAsSrgb, 2);
    expectColour(testimages::encodeHeic(patch(), {.icc = displayP3Profile()}), kAsSrgb, 6);
}

TEST_F(ColourTest, HeicColourDescriptionWithP3PrimariesIsConverted) {
    expectColour(testimages::encodeHeic(patch(), {.nclxPrimaries = 12}), kAsSrgb, 6);
}

TEST_F(ColourTest, SrgbTaggedAndUntaggedImagesKeepTheirValues) {
    expectColour(testimages::encodePng(patch(), {.icc = testimages::srgbProfile()}), kP3Colour, 1);
    expectColour(testimages::encodePng(patch()), kP3Colour, 0);
    expectColour(testimages::encodeHeic(patch(), {.nclxPrimaries = 1}), kP3Colour, 6);
}

TEST_F(ColourTest, AlphaSurvivesConversionAndIsPremultiplied) {
    Picture translucent(32, 32, {90, 170, 80, 128});
    const ImageHandle image =
        decodeBytes(testimages::encodePng(translucent, {.alpha = true, .icc = displayP3Profile()}));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->hasAlpha());
    EXPECT_TRUE(near(pixelAt(*image, 5, 5), {26, 86, 33, 128}, 2));
}

}  // namespace
}  // namespace vesko
