#include <string>
#include <vector>

#include "DecoderTestSupport.h"
#include "platform/decoder/PixelPool.h"

namespace vesko {
namespace {

using namespace testimages;
using decoder::PixelBuffer;
using decoder::PixelPool;

constexpr auto kUndefined = PixelPool::Start::Undefined;

// A pool keeps what it may and lets go of the rest; memory that cannot be had is an empty
// buffer, not a crash.
TEST(PixelPool, KeepsNoMoreThanItsBlocksAndBytes) {
    PixelPool pool(2, 10000);
    {
        std::vector<PixelBuffer> three;
        for (int i = 0; i < 3; ++i) three.push_back(pool.take(1000, kUndefined));
    }
    EXPECT_EQ(pool.keptBlocks(), 2u);
    pool.take(20000, kUndefined);
    EXPECT_EQ(pool.keptBytes(), 2000u) << "a block larger than the whole pool is freed";
    EXPECT_TRUE(pool.take(std::size_t(1) << 62, kUndefined).empty());
    EXPECT_TRUE(pool.take(0, kUndefined).empty());
}

// Not written over by a later decode: its first and last pixels are still its colour.
bool intact(const DecodedImage& image, Rgba colour) {
    const int right = image.width() - 1, bottom = image.height() - 1;
    return near(pixelAt(image, 0, 0), colour, 8) && near(pixelAt(image, right, bottom), colour, 8);
}

TEST_F(DecoderTest, AnImageGivesItsMemoryToTheNextDecodeWhenItsLastHolderLetsGo) {
    PixelPool::shared().clear();
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
    EXPECT_TRUE(intact(*alsoShown, colours[0]));

    alsoShown.reset();
    EXPECT_EQ(PixelPool::shared().keptBytes(), 640u * 480 * 4);
    const ImageHandle next = decoder.decode(files[2]);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->bits(), memory);
    EXPECT_TRUE(intact(*next, colours[2]));
    EXPECT_TRUE(intact(*whileHeld, colours[1]));
}

}  // namespace
}  // namespace vesko
