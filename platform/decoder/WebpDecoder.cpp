#include <webp/decode.h>
#include <webp/demux.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "platform/decoder/ColorTransform.h"
#include "platform/decoder/ExifOrientation.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {
namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
using Demuxer = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

struct Metadata {
    int orientation = 1;
    std::vector<std::uint8_t> icc;
};

std::span<const std::uint8_t> chunk(WebPDemuxer* demuxer, const char* fourcc) {
    WebPChunkIterator iterator;
    if (!WebPDemuxGetChunk(demuxer, fourcc, 1, &iterator)) return {};
    std::span<const std::uint8_t> bytes(iterator.chunk.bytes, iterator.chunk.size);
    WebPDemuxReleaseChunkIterator(&iterator);  // the bytes stay in the caller's buffer
    return bytes;
}

Metadata readMetadata(WebPDemuxer* demuxer) {
    Metadata metadata;
    if (!demuxer) return metadata;
    const std::uint32_t flags = WebPDemuxGetI(demuxer, WEBP_FF_FORMAT_FLAGS);
    if (flags & ICCP_FLAG) {
        const auto icc = chunk(demuxer, "ICCP");
        metadata.icc.assign(icc.begin(), icc.end());
    }
    if (flags & EXIF_FLAG) metadata.orientation = exifOrientation(chunk(demuxer, "EXIF"));
    return metadata;
}

// Decodes one bitstream (a whole file or one frame of an animation), scaled by libwebp while
// it decodes, premultiplied, straight into `out` (rows `stride` bytes apart).
bool decodeScaled(std::span<const std::uint8_t> bytes, Size natural, Size scaled, std::uint8_t* out,
                  std::size_t stride, std::size_t available) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return false;
    config.options.use_threads = 1;
    if (scaled != natural) {
        config.options.use_scaling = 1;
        config.options.scaled_width = scaled.width;
        config.options.scaled_height = scaled.height;
    }
    config.output.colorspace = MODE_rgbA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = out;
    config.output.u.RGBA.stride = int(stride);
    config.output.u.RGBA.size = available;
    const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK;
}

Raster decodeStill(std::span<const std::uint8_t> bytes, const WebPBitstreamFeatures& features,
                   Size target) {
    Raster raster = makeRasterToOverwrite(target.width, target.height, features.has_alpha != 0);
    raster.premultiplied = true;
    if (raster.pixels.empty() ||
        !decodeScaled(bytes, {features.width, features.height}, target, raster.pixels.data(),
                      std::size_t(target.width) * 4, raster.pixels.size())) {
        return {};
    }
    return raster;
}

// An animation shows its first frame on the otherwise transparent canvas, as browsers show it
// before playing. Only the frame is decoded, scaled as the canvas is.
Raster decodeFirstFrame(WebPDemuxer* demuxer, Size canvas, Size target) {
    WebPIterator frame;
    if (!demuxer || !WebPDemuxGetFrame(demuxer, 1, &frame)) return {};
    Raster raster = makeRaster(target.width, target.height, true);
    raster.premultiplied = true;
    const double scaleX = double(target.width) / canvas.width;
    const double scaleY = double(target.height) / canvas.height;
    const int left = int(std::lround(frame.x_offset * scaleX));
    const int top = int(std::lround(frame.y_offset * scaleY));
    const int right =
        std::min(target.width, int(std::lround((frame.x_offset + frame.width) * scaleX)));
    const int bottom =
        std::min(target.height, int(std::lround((frame.y_offset + frame.height) * scaleY)));
    bool decoded = false;
    if (!raster.pixels.empty() && right > left && bottom > top) {
        std::uint8_t* into = raster.row(top) + std::size_t(left) * 4;
        decoded =
            decodeScaled({frame.fragment.bytes, frame.fragment.size}, {frame.width, frame.height},
                         {right - left, bottom - top}, into, std::size_t(target.width) * 4,
                         std::size_t(raster.pixels.data() + raster.pixels.size() - into));
    }
    WebPDemuxReleaseIterator(&frame);
    return decoded ? std::move(raster) : Raster{};
}

}  // namespace

std::optional<PixelSize> webpSize(std::span<const std::uint8_t> bytes) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK)
        return std::nullopt;
    if (!withinPixelLimit(features.width, features.height)) return std::nullopt;
    const bool extended = bytes.size() >= 16 && std::memcmp(bytes.data() + 12, "VP8X", 4) == 0;
    const WebPData data{bytes.data(), bytes.size()};
    const Demuxer demuxer(extended ? WebPDemux(&data) : nullptr);
    return uprightSize({features.width, features.height}, readMetadata(demuxer.get()).orientation);
}

ImageHandle decodeWebp(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) return nullptr;
    if (!withinPixelLimit(features.width, features.height)) return nullptr;
    // Only the extended format (VP8X) carries a profile, EXIF or an animation.
    const bool extended = bytes.size() >= 16 && std::memcmp(bytes.data() + 12, "VP8X", 4) == 0;
    const WebPData data{bytes.data(), bytes.size()};
    const Demuxer demuxer(extended ? WebPDemux(&data) : nullptr);
    Metadata metadata = readMetadata(demuxer.get());
    const Size image{features.width, features.height};
    const Size target = fitWithin(image, boundBeforeOrientation(bound, metadata.orientation));
    Raster raster = features.has_animation ? decodeFirstFrame(demuxer.get(), image, target)
                                           : decodeStill(bytes, features, target);
    if (raster.pixels.empty()) return nullptr;
    convertIccToSrgb(raster, metadata.icc);
    return finish(std::move(raster), metadata.orientation);
}

}  // namespace vesko::decoder
