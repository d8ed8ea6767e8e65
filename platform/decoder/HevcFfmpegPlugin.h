#pragma once

namespace vesko::decoder {

inline constexpr char kFfmpegHevcDecoderId[] = "vesko-ffmpeg-hevc";

// Hands HEIC's HEVC data to FFmpeg's decoder (libavcodec), which decodes a photo several
// times faster than libde265 and uses every core through wavefront slice threads. Registered
// with libheif once per process, above libde265; returns false, leaving libde265 in charge,
// when libavcodec cannot open its HEVC decoder. Safe to call from any thread, any number of
// times.
bool registerFfmpegHevcDecoder();

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
