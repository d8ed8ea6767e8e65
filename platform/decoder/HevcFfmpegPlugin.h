#pragma once

#include <atomic>

namespace vesko::decoder {

inline constexpr char kFfmpegHevcDecoderId[] = "vesko-ffmpeg-hevc";

// Hands HEIC's HEVC data to FFmpeg's decoder (libavcodec), which decodes a photo several
// times faster than libde265 and uses every core through wavefront slice threads. Registered
// with libheif once per process, above libde265; returns false, leaving libde265 in charge,
// when libavcodec cannot open its HEVC decoder or the module that holds the plugin cannot be
// loaded. Safe to call from any thread, any number of times.
//
// The plugin lives in a module of its own, libvesko_hevc_ffmpeg.so, loaded by the first call:
// libavcodec brings some sixty libraries with it, which cost a start that shows no HEIC a
// quarter of its time before the first frame. The module's one entry point takes the count
// of Libde265Only below.
bool registerFfmpegHevcDecoder();
inline constexpr char kFfmpegHevcModuleEntry[] = "vesko_register_ffmpeg_hevc_decoder";
using FfmpegHevcModuleEntry = bool (*)(const std::atomic<int>* libde265Only);

// While one is alive, HEVC decodes go to libde265 instead, in the whole process: the second
// try when FFmpeg's decoder gives up on a file, and the reference that tests and benchmarks
// measure against. (libheif 1.15 does not heed a decoder named in its decoding options, and
// decodes a grid's tiles on threads of its own.) Both decoders give the same pixels, so a
// decode on another thread meanwhile is only slower, never different.
class Libde265Only {
public:
    Libde265Only();
    ~Libde265Only();
    Libde265Only(const Libde265Only&) = delete;
    Libde265Only& operator=(const Libde265Only&) = delete;
};

}  // namespace vesko::decoder
