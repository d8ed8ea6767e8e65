#include <string>
#include <vector>

#include "DecoderTestSupport.h"
#include "platform/decoder/PixelPool.h"

namespace vesko {
namespace {

using namespace testimages;
using decoder::PixelPool;

// Every pixel still the colour it was decoded with: not written over by a later decode.
::testing::AssertionResult allOfColour(const DecodedImage& image, Rgba colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            auto result = near(pixelAt(image, x, y), colour, 8);
            if (!result) return result << " at " << x << ", " << y;
        }
    }
    return ::testing::AssertionSuccess();
}

class PixelReuseTest : public DecoderTest {
protected:
    void SetUp() override { PixelPool::shared().clear(); }
};

TEST_F(PixelReuseTest, AnImageGivesItsMemoryToTheNextDecodeWhenItsLastHolderLetsGo) {
    const Rgba colours[3] = {kRed, kGreen, kBlue};
    std::vector<std::filesystem::path> files;
    for (const Rgba colour : colours) {
        files.push_back(write(encodeJpeg(Picture(640, 480, colour)), std::to_string(files.size())));
    }
    const PhotoDecoder decoder;
    ImageHandle shown = decoder.decode(files[0]);
    ASSERT_TRUE(shown);
    const std::uint8_t* memory = shown->bits();
    ImageHandle alsoShown = shown;

    shown.reset();
    const ImageHandle whileHeld = decoder.decode(files[1]);
    ASSERT_TRUE(whileHeld);
    EXPECT_NE(whileHeld->bits(), memory);
    EXPECT_TRUE(allOfColour(*alsoShown, colours[0]));

    alsoShown.reset();
    EXPECT_EQ(PixelPool::shared().keptBytes(), 640u * 480 * 4);
    const ImageHandle next = decoder.decode(files[2]);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->bits(), memory);
    EXPECT_TRUE(allOfColour(*next, colours[2]));
    EXPECT_TRUE(allOfColour(*whileHeld, colours[1]));
}

TEST_F(PixelReuseTest, PhotosOfChangingSizeAndOrientationDecodeCorrectlyInARow) {
    for (const int width : {64, 400, 48, 400, 402, 64}) {
        const Picture picture = markedCorners(width);
        for (const int orientation : {1, 6}) {
            const Bytes jpeg =
                encodeJpeg(storedFor(picture, orientation), {.orientation = orientation});
            expectBlocksOf(decodeBytes(jpeg), picture, 40);
            expectBlocksOf(decodeBytes(encodePng(picture)), picture, 0);
            expectBlocksOf(decodeBytes(encodeWebp(picture)), picture, 40);
        }
    }
}

}  // namespace
}  // namespace vesko
