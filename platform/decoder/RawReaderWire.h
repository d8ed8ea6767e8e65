#pragma once

#include <cstdint>

// What the RAW reader process (vesko-raw-reader) writes to its standard output. It is started
// with the RAW file as its standard input and one argument, the question; it answers only when
// LibRaw read the file, then exits with status 0. Any other exit, a signal included, means
// LibRaw could not read it.
namespace vesko::decoder::wire {

inline constexpr const char* kAskFacts = "facts";
inline constexpr const char* kAskHalfSize = "half-size";

// The answer to kAskFacts, followed by `copiedPreviewLength` bytes: LibRaw's copy of the
// embedded JPEG preview, given only where the file's own bytes do not start as a JPEG does.
struct RawFacts {
    std::int32_t sensorWidth = 0;  // as stored, before the turn
    std::int32_t sensorHeight = 0;
    std::int32_t flip = 0;  // LibRaw's numbering
    std::int32_t adobeRgb = 0;
    // The JPEG preview as stored in the file; a length of 0 when there is none there.
    std::uint64_t previewOffset = 0;
    std::uint64_t previewLength = 0;
    std::uint64_t copiedPreviewLength = 0;
};

// The answer to kAskHalfSize, followed by width x height pixels of 3 bytes (RGB, sRGB, not
// turned): the raw data demosaiced at half size with the camera's white balance.
struct HalfSizeHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

}  // namespace vesko::decoder::wire
