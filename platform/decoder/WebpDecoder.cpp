#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/decoder/AreaScaler.h"
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
struct AnimDecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

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

// Only the extended format (VP8X) carries a profile or EXIF.
Metadata readMetadata(const WebPData& data) {
    Metadata metadata;
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demuxer(WebPDemux(&data));
    if (!demuxer) return metadata;
    const std::uint32_t flags = WebPDemuxGetI(demuxer.get(), WEBP_FF_FORMAT_FLAGS);
    if (flags & ICCP_FLAG) {
        const auto icc = chunk(demuxer.get(), "ICCP");
        metadata.icc.assign(icc.begin(), icc.end());
    }
    if (flags & EXIF_FLAG) metadata.orientation = exifOrientation(chunk(demuxer.get(), "EXIF"));
    return metadata;
}

// libwebp scales while it decodes, straight into the raster.
Raster decodeStill(const WebPData& data, const WebPBitstreamFeatures& features, Size target) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return {};
    Raster raster = makeRaster(target.width, target.height, features.has_alpha != 0);
    if (raster.pixels.empty()) return {};
    raster.premultiplied = true;
    config.options.use_threads = 1;
    if (target != Size{features.width, features.height}) {
        config.options.use_scaling = 1;
        config.options.scaled_width = target.width;
        config.options.scaled_height = target.height;
    }
    config.output.colorspace = features.has_alpha ? MODE_rgbA : MODE_RGBA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = raster.pixels.data();
    config.output.u.RGBA.stride = target.width * 4;
    config.output.u.RGBA.size = raster.pixels.size();
    const VP8StatusCode status = WebPDecode(data.bytes, data.size, &config);
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK ? std::move(raster) : Raster{};
}

// An animation shows its first frame, composed on the canvas the way a browser shows it.
Raster decodeFirstFrame(const WebPData& data, Size target) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return {};
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter> decoder(
        WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) return {};
    if (!withinPixelLimit(info.canvas_width, info.canvas_height)) return {};
    std::uint8_t* pixels = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &pixels, &timestamp) || !pixels) return {};
    const Size canvas{int(info.canvas_width), int(info.canvas_height)};
    if (canvas.width < target.width || canvas.height < target.height) return {};
    if (canvas == target) {
        Raster raster = makeRaster(canvas.width, canvas.height, true);
        if (!raster.pixels.empty()) std::copy_n(pixels, raster.pixels.size(), raster.pixels.data());
        return raster;
    }
    return shrinkInMemory(pixels, std::size_t(canvas.width) * 4, 4, canvas, target, true);
}

}  // namespace

ImageHandle decodeWebp(std::span<const std::uint8_t> bytes, DisplayBound bound) {
    const WebPData data{bytes.data(), bytes.size()};
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data.bytes, data.size, &features) != VP8_STATUS_OK) return nullptr;
    if (!withinPixelLimit(features.width, features.height)) return nullptr;
    const bool extended = bytes.size() >= 16 && std::memcmp(bytes.data() + 12, "VP8X", 4) == 0;
    Metadata metadata = extended ? readMetadata(data) : Metadata{};
    const Size image{features.width, features.height};
    const Size target = fitWithin(image, boundBeforeOrientation(bound, metadata.orientation));
    Raster raster = features.has_animation ? decodeFirstFrame(data, target)
                                           : decodeStill(data, features, target);
    if (raster.pixels.empty()) return nullptr;
    convertIccToSrgb(raster, metadata.icc);
    return finish(std::move(raster), metadata.orientation);
}

}  // namespace vesko::decoder
