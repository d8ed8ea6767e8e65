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

// Display P3 by profile or by HEIC colour code is converted; sRGB, tagged or not, is left alone.
TEST_F(ColourTest, P3IsConvertedToSrgbAndSrgbKeepsItsValues) {
    using namespace testimages;
    const Bytes p3 = displayP3Profile();
    expectColour(encodeJpeg(patch(), {.icc = p3}), kAsSrgb, 6);
    expectColour(encodePng(patch(), {.icc = p3}), kAsSrgb, 2);
    expectColour(encodeWebp(patch(), {.lossless = true, .icc = p3}), kAsSrgb, 2);
    expectColour(encodeHeic(patch(), {.icc = p3}), kAsSrgb, 6);
    expectColour(encodeHeic(patch(), {.nclxPrimaries = 12}), kAsSrgb, 6);
    expectColour(encodePng(patch(), {.icc = srgbProfile()}), kP3Colour, 1);
    expectColour(encodePng(patch()), kP3Colour, 0);
    expectColour(encodeHeic(patch(), {.nclxPrimaries = 1}), kP3Colour, 6);
}

TEST_F(ColourTest, AlphaSurvivesConversionAndIsPremultiplied) {
    Picture translucent(32, 32, {90, 170, 80, 128});
    const ImageHandle image =
        decodeBytes(testimages::encodePng(translucent, {.alpha = true, .icc = displayP3Profile()}));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->hasAlpha());
    EXPECT_TRUE(near(pixelAt(*image, 5, 5), {26, 86, 33, 128}, 2));
}

// Pure cyan, magenta and yellow ink and a quarter of black, one a quadrant: any two inks
// mixed up, or the Adobe inversion missed, shows in one of them.
TEST_F(ColourTest, CmykInksComeOutInTheirColours) {
    Picture inks(32, 32, {0, 255, 255, 255});
    inks.fill(16, 0, 16, 16, {255, 0, 255, 255});
    inks.fill(0, 16, 16, 16, {255, 255, 0, 255});
    inks.fill(16, 16, 16, 16, {191, 191, 191, 255});
    const Rgba asInks[4] = {{0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {191, 191, 191}};
    // The profile lets cyan ink take away blue, magenta red and yellow green.
    const Rgba asRotated[4] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {191, 191, 191}};
    for (const bool adobe : {true, false}) {
        for (const bool withProfile : {false, true}) {
            SCOPED_TRACE(std::string(adobe ? "Adobe" : "plain") + (withProfile ? " with" : "") +
                         " profile");
            const Bytes icc = withProfile ? testimages::rotatedCmykProfile() : Bytes{};
            const ImageHandle image = decodeBytes(
                testimages::encodeJpeg(inks, {.icc = icc, .cmyk = true, .adobe = adobe}));
            ASSERT_TRUE(image);
            EXPECT_FALSE(image->hasAlpha());
            const Rgba* expected = withProfile ? asRotated : asInks;
            for (int quadrant = 0; quadrant < 4; ++quadrant) {
                const Rgba pixel = pixelAt(*image, 8 + quadrant % 2 * 16, 8 + quadrant / 2 * 16);
                EXPECT_TRUE(near(pixel, expected[quadrant], 30)) << "quadrant " << quadrant;
            }
        }
    }
}

}  // namespace
}  // namespace vesko
