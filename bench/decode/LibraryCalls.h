#pragma once

#include <filesystem>
#include <initializer_list>
#include <vector>

#include <libheif/heif.h>

#include "platform/decoder/DisplayBound.h"

// Plain library calls that more than one benchmark measures.
namespace vesko::bench {

std::vector<unsigned char> readAll(const std::filesystem::path& file);

// Where a decode puts its pixels: a fresh zero-filled vector (the plain way), a fresh block
// left uninitialised, or the block the previous decode on this thread used, kept for the next.
enum class OutputBuffer { FreshZeroed, FreshUninitialised, Reused };

// libjpeg-turbo decoding straight into RGBA at the first of `eighths` that covers the fitted
// size (or in full), with nothing further done to the pixels. Returns a checksum, 0 on failure.
unsigned long libjpegScaled(const std::filesystem::path& file, DisplayBound bound,
                            std::initializer_list<unsigned> eighths,
                            OutputBuffer output = OutputBuffer::FreshZeroed);

// libheif's full decode of the primary image to interleaved RGB or RGBA, the plainest call
// there is, with whichever HEVC decoder is in charge. Returns a checksum, 0 on failure.
unsigned long libheifFull(const std::filesystem::path& file, heif_chroma interleaved);

// Vesko's decoder, as the window calls it. Returns a checksum, 0 for no image.
unsigned long viaVesko(const std::filesystem::path& file, DisplayBound bound);

// The files in `folder`, sorted.
std::vector<std::filesystem::path> photosIn(const std::filesystem::path& folder);

}  // namespace vesko::bench
