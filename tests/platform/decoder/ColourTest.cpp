#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using namespace testimages;

// (90, 170, 80) in Display P3 is (52, 172, 66) in sRGB: a difference no codec error explains.
constexpr Rgba kP3Colour{90, 170, 80, 255};
constexpr Rgba kAsSrgb{52, 172, 66, 255};

struct Colour {
    std::string file;  // in data/
    Rgba expected;
    int tolerance;
    int quadrant = 0;  // of four, left to right and top to bottom
};

// Display P3 by profile or by HEIC colour code is converted, alpha kept and premultiplied after
// the conversion; untagged or BT.709 is left alone. CMYK (32 x 32, see data/README.md) has
// cyan, magenta and yellow ink and a quarter of black, one a quadrant: any two inks mixed up,
// the Adobe inversion missed, or the profile ignored, shows in one of them.
TEST_F(DecoderTest, ColoursComeOutInSrgb) {
    const Rgba inks[4] = {{0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {191, 191, 191}};
    // The profile lets cyan ink take away blue, magenta red and yellow green.
    const Rgba rotatedInks[4] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {191, 191, 191}};
    std::vector<Colour> colours{
        {"p3.jpg", kAsSrgb, 6},          {"p3.png", kAsSrgb, 2},
        {"p3.webp", kAsSrgb, 2},         {"p3.heic", kAsSrgb, 6},
        {"p3-by-code.heic", kAsSrgb, 6}, {"bt709.heic", kP3Colour, 6},
        {"untagged.png", kP3Colour, 0},  {"p3-alpha.png", {26, 86, 33, 128}, 2}};
    for (const std::string cmyk : {"cmyk-adobe", "cmyk-plain"}) {
        for (const std::string profile : {"", "-profiled"}) {
            for (int quadrant = 0; quadrant < 4; ++quadrant) {
                const Rgba expected = (profile.empty() ? inks : rotatedInks)[quadrant];
                colours.push_back({cmyk + profile + ".jpg", expected, 30, quadrant});
            }
        }
    }
    for (const auto& [file, expected, tolerance, quadrant] : colours) {
        SCOPED_TRACE(file + " quadrant " + std::to_string(quadrant));
        const ImageHandle image = decodeBytes(fixture(file));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->hasAlpha(), expected.a < 255);
        const Rgba pixel = pixelAt(*image, 8 + quadrant % 2 * 16, 8 + quadrant / 2 * 16);
        EXPECT_TRUE(near(pixel, expected, tolerance));
    }
}

}  // namespace
}  // namespace vesko
