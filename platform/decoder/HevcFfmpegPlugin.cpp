#include "platform/decoder/HevcFfmpegPlugin.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "platform/decoder/Geometry.h"
#include "platform/decoder/HevcPicture.h"

namespace vesko::decoder {
namespace {

// libde265 registers itself at 100; the highest priority wins.
constexpr int kPriority = 200;
constexpr int kMaxThreads = 8;

struct CodecDeleter {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using Codec = std::unique_ptr<AVCodecContext, CodecDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;

// libheif keeps the message pointer beyond the call: only string literals here.
heif_error failure(const char* message) {
    return {heif_error_Decoder_plugin_error, heif_suberror_Unspecified, message};
}
const heif_error kOk{heif_error_Ok, heif_suberror_Unspecified, "Success"};

// One image's worth of HEVC data, gathered as libheif pushes it: the parameter sets first, then
// the picture, each NAL unit behind a four-byte length, rewritten in place to Annex B start
// codes for libavcodec.
struct Decoder {
    std::vector<std::uint8_t> stream;
};

// Libde265Only's count, in the decoder that loaded this module.
const std::atomic<int>* stepAside = nullptr;

int threadCount() {
    // Asked once: glibc reads /sys each time, and every tile of a grid opens a decoder.
    static const int count = std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxThreads);
    return count;
}

Codec openCodec() {
    const AVCodec* hevc = avcodec_find_decoder(AV_CODEC_ID_HEVC);
    if (!hevc) return nullptr;
    Codec codec(avcodec_alloc_context3(hevc));
    if (!codec) return nullptr;
    // A still image is one frame: only slice threads (wavefront rows) can share it out.
    codec->thread_type = FF_THREAD_SLICE;
    codec->thread_count = threadCount();
    codec->max_pixels = kMaxPixels;
    if (avcodec_open2(codec.get(), hevc, nullptr) < 0) return nullptr;
    return codec;
}

Frame decodeFrame(AVCodecContext* codec, const std::vector<std::uint8_t>& stream) {
    if (stream.empty() || stream.size() > std::size_t(INT32_MAX / 2)) return nullptr;
    const Packet packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), int(stream.size())) < 0) return nullptr;
    std::memcpy(packet->data, stream.data(), stream.size());
    if (avcodec_send_packet(codec, packet.get()) < 0) return nullptr;
    avcodec_send_packet(codec, nullptr);
    Frame frame(av_frame_alloc());
    if (!frame || avcodec_receive_frame(codec, frame.get()) < 0) return nullptr;
    return frame;
}

const char* pluginName() { return "FFmpeg HEVC decoder (libavcodec)"; }

int supportsFormat(heif_compression_format format) {
    return format == heif_compression_HEVC && *stepAside == 0 ? kPriority : 0;
}

heif_error newDecoder(void** decoder) {
    try {
        *decoder = new Decoder;
        return kOk;
    } catch (...) {
        return failure("out of memory");
    }
}

void freeDecoder(void* decoder) { delete static_cast<Decoder*>(decoder); }

heif_error pushData(void* raw, const void* data, std::size_t size) {
    auto& stream = static_cast<Decoder*>(raw)->stream;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::size_t start = stream.size();
    try {
        stream.insert(stream.end(), bytes, bytes + size);
    } catch (...) {
        return failure("out of memory");
    }
    for (std::size_t at = start; at < stream.size();) {
        if (stream.size() - at < 4) return failure("truncated NAL unit length");
        const std::size_t length = std::size_t(stream[at]) << 24 |
                                   std::size_t(stream[at + 1]) << 16 |
                                   std::size_t(stream[at + 2]) << 8 | stream[at + 3];
        if (length > stream.size() - at - 4) return failure("NAL unit beyond the data");
        const std::uint8_t startCode[4] = {0, 0, 0, 1};
        std::memcpy(stream.data() + at, startCode, 4);
        at += 4 + length;
    }
    return kOk;
}

heif_error decodeImage(void* raw, heif_image** out) {
    *out = nullptr;
    const Codec codec = openCodec();
    if (!codec) return failure("libavcodec cannot open its HEVC decoder");
    const Frame frame = decodeFrame(codec.get(), static_cast<Decoder*>(raw)->stream);
    if (!frame) return failure("no picture in the HEVC data");
    *out = toHeifImage(*frame);
    return *out ? kOk : failure("HEVC picture in a layout libheif does not take, or no memory");
}

void setStrictDecoding(void*, int) {}

const heif_decoder_plugin kPlugin{
    3,  // the plugin interface of libheif 1.15
    pluginName,  nullptr,  nullptr,     supportsFormat,    newDecoder,
    freeDecoder, pushData, decodeImage, setStrictDecoding, kFfmpegHevcDecoderId,
};

bool registerOnce() {
    if (!openCodec()) return false;
    // libavcodec reports damaged streams on stderr otherwise; they are expected and harmless.
    av_log_set_level(AV_LOG_QUIET);
    return heif_register_decoder_plugin(&kPlugin).code == heif_error_Ok;
}

}  // namespace

}  // namespace vesko::decoder

extern "C" __attribute__((visibility("default"))) bool vesko_register_ffmpeg_hevc_decoder(
    const std::atomic<int>* libde265Only) {
    vesko::decoder::stepAside = libde265Only;
    return vesko::decoder::registerOnce();
}
