#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/decoder/Geometry.h"

namespace vesko::decoder {

// LibRaw runs in a process of its own (vesko-raw-reader), so that a file crafted to crash it,
// or to keep it busy for ever, costs only that photo its picture. These ask it about an open
// file, which the reader reads as it needs; each waits for the answer, and gives nothing where
// LibRaw cannot read the file, crashed, or took longer than any camera's file needs.

// What LibRaw tells of a RAW file it reads.
struct RawFacts {
    Size sensor;   // as stored, before the turn
    int flip = 0;  // LibRaw's numbering
    bool adobeRgb = false;
    // The JPEG preview where the file holds it as it is, checked to lie within the file and to
    // start as a JPEG does; else a length of 0.
    std::uint64_t previewOffset = 0;
    std::uint64_t previewLength = 0;
    // LibRaw's copy of a preview that the file holds without its start marker.
    std::vector<std::uint8_t> copiedPreview;
};

// `remember`: the answer is kept by the file's identity (device, inode, size, time of change),
// for the next question about the same file: a zoomed photo's regions ask once. Only for files
// that stay on disk while they are asked about, not for ones made to hand bytes over.
std::shared_ptr<const RawFacts> askRawFacts(int fd, bool remember);

struct RgbPixels {
    Size size;
    std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, row after row
};

// The raw data demosaiced at half size with the camera's white balance, in sRGB, not turned.
std::optional<RgbPixels> askRawHalfSize(int fd);

// Ends every reader running, and starts no more: for the process's end, so that closing the
// window waits for none. What they were asked gives nothing.
void stopRawReaders();

// An unlinked file in memory holding `bytes`, for the reader to read; -1 when none can be made.
int memoryFileWith(std::span<const std::uint8_t> bytes);

}  // namespace vesko::decoder
