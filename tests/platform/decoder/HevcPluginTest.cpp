#include <gtest/gtest.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "HeicGrid.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/HevcFfmpegPlugin.h"

namespace vesko {
namespace {

using testimages::Bytes;
using testimages::Picture;
using testimages::Rgba;

// Gradients, hard edges and noise: every part of the HEVC toolset gets used.
Picture texture(int width, int height) {
    Picture picture(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27);
            const bool square = (x / 16 + y / 16) % 2 == 0;
            picture.at(x, y) = {std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                                std::uint8_t((square ? 200 : 40) + noise), 255};
        }
    }
    return picture;
}

struct Decoded {
    heif_error error{};
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

enum class Hevc { Ffmpeg, Libde265 };

// The primary image as libheif hands it over, in RGBA.
Decoded decodeWith(const Bytes& file, Hevc hevc) {
    Decoded out;
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                        heif_context_free);
    std::optional<decoder::Libde265Only> reference;
    if (hevc == Hevc::Libde265) reference.emplace();
    out.error = heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(),
                                                           nullptr);
    if (out.error.code != heif_error_Ok) return out;
    heif_image_handle* handle = nullptr;
    out.error = heif_context_get_primary_image_handle(context.get(), &handle);
    if (out.error.code != heif_error_Ok) return out;
    heif_decoding_options* options = heif_decoding_options_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image* image = nullptr;
    out.error = heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                                  options);
    heif_decoding_options_free(options);
    heif_image_handle_release(handle);
    if (out.error.code != heif_error_Ok) return out;
    out.width = heif_image_get_width(image, heif_channel_interleaved);
    out.height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* row = plane + std::size_t(y) * stride;
        out.rgba.insert(out.rgba.end(), row, row + std::size_t(out.width) * 4);
    }
    heif_image_release(image);
    return out;
}

// Both decoders implement the same standard, so they must agree; one step of rounding is all
// the colour conversion may add.
void expectSamePixels(const Decoded& ours, const Decoded& reference) {
    ASSERT_EQ(ours.error.code, heif_error_Ok) << ours.error.message;
    ASSERT_EQ(reference.error.code, heif_error_Ok) << reference.error.message;
    ASSERT_EQ(ours.width, reference.width);
    ASSERT_EQ(ours.height, reference.height);
    int worst = 0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < ours.rgba.size(); ++i) {
        const int difference = std::abs(int(ours.rgba[i]) - int(reference.rgba[i]));
        if (difference > worst) {
            worst = difference;
            worstAt = i;
        }
    }
    EXPECT_LE(worst, 1) << "at pixel " << worstAt / 4 % ours.width << ","
                        << worstAt / 4 / ours.width;
}

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

// Both decode every file alike: an odd size (the stream crops a larger coded picture), every
// matrix and range, alpha at 8 and 10 bits, and a grid of tiles.
TEST_F(HevcPluginTest, AgreesWithLibde265) {
    std::vector<std::pair<std::string, Bytes>> files{
        {"odd size", testimages::encodeHeic(texture(203, 151), {.quality = 60, .chroma420 = true})},
        {"grid", testimages::encodeHeicGrid(texture(150, 100), 64)}};
    for (const int matrix : {1, 5, 6, 9, 4}) {  // BT.709, BT.470BG, BT.601, BT.2020, FCC
        for (const bool fullRange : {false, true}) {
            files.emplace_back("matrix " + std::to_string(matrix) + (fullRange ? " full" : ""),
                               testimages::encodeHeic(texture(64, 48), {.nclxPrimaries = 1,
                                                                        .nclxMatrix = matrix,
                                                                        .fullRange = fullRange,
                                                                        .chroma420 = true}));
        }
    }
    Picture translucent = texture(96, 64);
    translucent.fill(0, 0, 48, 64, {200, 30, 30, 100});
    for (const bool tenBit : {false, true}) {
        files.emplace_back(tenBit ? "alpha 10 bits" : "alpha",
                           testimages::encodeHeic(translucent, {.alpha = true, .tenBit = tenBit}));
    }
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        expectSamePixels(decodeWith(file, Hevc::Ffmpeg), decodeWith(file, Hevc::Libde265));
    }
}

// A stand-in for FFmpeg's decoder refusing a stream: ahead of it, it fails the next decode as
// FFmpeg's would, then steps aside. The decoder must then give libde265 its turn.
namespace refusing {
bool armed = false;
const char* name() { return "refuses once"; }
int supports(heif_compression_format format) {
    return format == heif_compression_HEVC && armed ? 300 : 0;
}
heif_error ok() { return {heif_error_Ok, heif_suberror_Unspecified, ""}; }
heif_error newDecoder(void** decoder) {
    *decoder = nullptr;
    return ok();
}
void freeDecoder(void*) {}
heif_error pushData(void*, const void*, std::size_t) { return ok(); }
heif_error decodeImage(void*, heif_image** out) {
    *out = nullptr;
    armed = false;
    return {heif_error_Decoder_plugin_error, heif_suberror_Unspecified, "refused"};
}
void setStrict(void*, int) {}
const heif_decoder_plugin kPlugin{3,           name,       nullptr,     nullptr,
                                  supports,    newDecoder, freeDecoder, pushData,
                                  decodeImage, setStrict,  "refuses"};
}  // namespace refusing

TEST_F(HevcPluginTest, DecoderFallsBackToLibde265WhenThePluginRefuses) {
    ASSERT_EQ(heif_register_decoder_plugin(&refusing::kPlugin).code, heif_error_Ok);
    refusing::armed = true;
    const ImageHandle image =
        decoder::decodeHeic(testimages::encodeHeic(texture(64, 48), {.chroma420 = true}), {64, 64});
    EXPECT_FALSE(refusing::armed);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 64);
}

}  // namespace
}  // namespace vesko
