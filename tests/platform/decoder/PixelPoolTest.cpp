#include <gtest/gtest.h>

#include <vector>

#include "platform/decoder/PixelPool.h"

namespace vesko {
namespace {

using decoder::PixelBuffer;
using decoder::PixelPool;

constexpr auto kUndefined = PixelPool::Start::Undefined;

// Reuse only once nothing holds a block, and zeroing a reused one, are tested through the
// decoder in PixelReuseTest.
TEST(PixelPool, KeepsNoMoreThanItsBlocksAndBytesAndNoFarLargerBlockForASmallImage) {
    PixelPool pool(2, 10000);
    {
        std::vector<PixelBuffer> three;
        for (int i = 0; i < 3; ++i) three.push_back(pool.take(1000, kUndefined));
    }
    EXPECT_EQ(pool.keptBlocks(), 2u);
    EXPECT_EQ(pool.keptBytes(), 2000u);

    pool.take(20000, kUndefined);
    EXPECT_EQ(pool.keptBytes(), 2000u) << "a block larger than the whole pool is freed";

    {
        const PixelBuffer a = pool.take(6000, kUndefined);
        const PixelBuffer b = pool.take(6000, kUndefined);
    }
    EXPECT_EQ(pool.keptBlocks(), 1u);
    EXPECT_EQ(pool.keptBytes(), 6000u);
    const PixelBuffer small = pool.take(100, kUndefined);
    EXPECT_EQ(pool.keptBlocks(), 1u);
}

TEST(PixelPool, RunningOutOfMemoryGivesAnEmptyBuffer) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer aborts on such a request instead of failing it";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer aborts on such a request instead of failing it";
#endif
#endif
    PixelPool pool(2, 1 << 20);
    { const PixelBuffer kept = pool.take(1000, kUndefined); }
    EXPECT_TRUE(pool.take(std::size_t(1) << 62, kUndefined).empty());
    EXPECT_TRUE(pool.take(0, kUndefined).empty());
}

}  // namespace
}  // namespace vesko
