#include <gtest/gtest.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <string>
#include <vector>

#include "TestImages.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/HevcFfmpegPlugin.h"

namespace vesko {
namespace {

using testimages::fixture;

class HevcPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!decoder::registerFfmpegHevcDecoder()) GTEST_SKIP() << "libavcodec has no HEVC";
    }
};

TEST_F(HevcPluginTest, TakesPrecedenceOverLibde265UnlessAskedToStepAside) {
    const heif_decoder_descriptor* decoders[8] = {};
    const int count = heif_get_decoder_descriptors(heif_compression_HEVC, decoders, 8);
    ASSERT_GE(count, 2);
    EXPECT_STREQ(heif_decoder_descriptor_get_id_name(decoders[0]), decoder::kFfmpegHevcDecoderId);
    decoder::Libde265Only reference;
    EXPECT_EQ(heif_get_decoder_descriptors(heif_compression_HEVC, decoders, 8), count - 1);
}

// Both implement the same standard, so they must agree, on every file: an odd size (the stream
// crops a larger coded picture), every matrix (BT.709, BT.601, BT.2020, FCC) and range, alpha
// at 8 and 10 bits, and a grid of tiles. One step of rounding is all the colour conversion may
// add.
TEST_F(HevcPluginTest, AgreesWithLibde265) {
    std::vector<std::string> files{"odd-size.heic", "grid.heic", "translucent.heic",
                                   "ten-bit-alpha.heic"};
    for (const std::string matrix : {"1", "6", "9", "4"}) {
        files.push_back("matrix-" + matrix + ".heic");
        files.push_back("matrix-" + matrix + "-full.heic");
    }
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const testimages::Bytes file = fixture(name);
        const ImageHandle ours = decoder::decodeHeic(file, {4096, 4096});
        const ImageHandle reference = [&file] {
            const decoder::Libde265Only stepAside;
            return decoder::decodeHeic(file, {4096, 4096});
        }();
        ASSERT_TRUE(ours);
        ASSERT_TRUE(reference);
        ASSERT_EQ(ours->width(), reference->width());
        ASSERT_EQ(ours->height(), reference->height());
        for (int y = 0; y < ours->height(); ++y) {
            const std::uint8_t* a = ours->bits() + std::size_t(y) * ours->bytesPerLine();
            const std::uint8_t* b = reference->bits() + std::size_t(y) * reference->bytesPerLine();
            for (int i = 0; i < ours->width() * 4; ++i) {
                ASSERT_LE(std::abs(a[i] - b[i]), 1) << "at " << i / 4 << ", " << y;
            }
        }
    }
}

// A stand-in for FFmpeg's decoder refusing a stream: ahead of it, it fails the next decode as
// FFmpeg's would, then steps aside. The decoder must then give libde265 its turn.
bool armed = false;
constexpr heif_error kOk{heif_error_Ok, heif_suberror_Unspecified, ""};
const heif_decoder_plugin kRefusing{
    .plugin_api_version = 3,
    .get_plugin_name = [] { return "refuses once"; },
    .init_plugin = nullptr,
    .deinit_plugin = nullptr,
    .does_support_format =
        [](heif_compression_format format) {
            return format == heif_compression_HEVC && armed ? 300 : 0;
        },
    .new_decoder =
        [](void** decoder) {
            *decoder = nullptr;
            return kOk;
        },
    .free_decoder = [](void*) {},
    .push_data = [](void*, const void*, std::size_t) { return kOk; },
    .decode_image =
        [](void*, heif_image** out) {
            *out = nullptr;
            armed = false;
            return heif_error{heif_error_Decoder_plugin_error, heif_suberror_Unspecified,
                              "refused"};
        },
    .set_strict_decoding = [](void*, int) {},
    .id_name = "refuses"};

TEST_F(HevcPluginTest, DecoderFallsBackToLibde265WhenThePluginRefuses) {
    ASSERT_EQ(heif_register_decoder_plugin(&kRefusing).code, heif_error_Ok);
    armed = true;
    const ImageHandle image = decoder::decodeHeic(fixture("odd-size.heic"), {64, 64});
    EXPECT_FALSE(armed);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 64);
}

}  // namespace
}  // namespace vesko
