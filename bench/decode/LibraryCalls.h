#pragma once

#include <filesystem>
#include <initializer_list>
#include <vector>

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

}  // namespace vesko::bench
