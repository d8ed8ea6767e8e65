#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DecoderTestSupport.h"
#include "platform/decoder/PixelPool.h"

namespace vesko {
namespace {

using namespace testimages;
using decoder::PixelPool;

// A picture of one colour, for telling at any pixel whether an image's memory was written over.
struct Plain {
    Rgba colour;
    std::string file;
};

// Every pixel still the colour it was decoded with.
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

    std::vector<Plain> plainPhotos(int width, int height) {
        std::vector<Plain> photos;
        for (const Rgba colour : {kRed, kGreen, kBlue, kGrey}) {
            const std::string file = (folder_.path() / std::to_string(photos.size())).string();
            // The last a HEIC, whose decoder runs threads of its own.
            const Picture plain(width, height, colour);
            writeFile(file, colour == kGrey ? encodeHeic(plain) : encodeJpeg(plain));
            photos.push_back({colour, file});
        }
        return photos;
    }
};

TEST_F(PixelReuseTest, AnImageGivesItsMemoryToTheNextDecodeWhenItsLastHolderLetsGo) {
    const std::vector<Plain> photos = plainPhotos(640, 480);
    const PhotoDecoder decoder;
    ImageHandle shown = decoder.decode(photos[0].file);
    ASSERT_TRUE(shown);
    const std::uint8_t* memory = shown->bits();
    ImageHandle alsoShown = shown;

    shown.reset();
    const ImageHandle whileHeld = decoder.decode(photos[1].file);
    ASSERT_TRUE(whileHeld);
    EXPECT_NE(whileHeld->bits(), memory);
    EXPECT_TRUE(allOfColour(*alsoShown, photos[0].colour));

    alsoShown.reset();
    EXPECT_EQ(PixelPool::shared().keptBytes(), 640u * 480 * 4);
    const ImageHandle next = decoder.decode(photos[2].file);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->bits(), memory);
    EXPECT_TRUE(allOfColour(*next, photos[2].colour));
    EXPECT_TRUE(allOfColour(*whileHeld, photos[1].colour));
}

// Decoders run on several threads at once and pass images on to others, which hold them a
// while and let them go.
TEST_F(PixelReuseTest, HeldImagesStayIntactWhileOtherThreadsDecodeAndLetGo) {
    const std::vector<Plain> photos = plainPhotos(160, 120);
    struct Shown {
        ImageHandle image;
        Rgba colour;
    };
    std::mutex mutex;
    std::vector<Shown> shown(photos.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < photos.size(); ++t) {
        threads.emplace_back([&, t] {
            const PhotoDecoder decoder;
            for (std::size_t i = 0; i < 30; ++i) {
                Shown mine{decoder.decode(photos[t].file), photos[t].colour};
                ASSERT_TRUE(mine.image);
                {
                    const std::lock_guard lock(mutex);
                    std::swap(mine, shown[(t + i) % shown.size()]);
                }
                if (mine.image) {
                    EXPECT_TRUE(allOfColour(*mine.image, mine.colour));
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const Shown& last : shown) EXPECT_TRUE(allOfColour(*last.image, last.colour));
}

TEST_F(PixelReuseTest, PhotosOfChangingSizeAndOrientationDecodeCorrectlyInARow) {
    for (const int width : {64, 400, 48, 400, 402, 64}) {
        for (const int orientation : {1, 6}) {
            const Bytes jpeg = encodeJpeg(storedFor(markedCorners(width), orientation),
                                          {.orientation = orientation});
            expectMarkedCorners(decodeBytes(jpeg), 40);
            expectMarkedCorners(decodeBytes(encodePng(markedCorners(width))), 0);
            expectMarkedCorners(decodeBytes(encodeWebp(markedCorners(width))), 40);
        }
    }
}

// The canvas around an animation's first frame is the one place a decoder leaves undrawn.
TEST_F(PixelReuseTest, AnEarlierPhotoNeverShowsAroundAnAnimationFrame) {
    decodeBytes(encodePng(Picture(64, 32, kGreen)));
    const ImageHandle canvas =
        decodeBytes(encodeWebpAnimation({{Picture(32, 16, kRed), 32, 16}}, 64, 32));
    ASSERT_TRUE(canvas);
    EXPECT_TRUE(near(pixelAt(*canvas, 8, 8), {0, 0, 0, 0}, 0));
}

}  // namespace
}  // namespace vesko
