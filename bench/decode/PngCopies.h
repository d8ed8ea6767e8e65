#pragma once

#include <filesystem>
#include <vector>

namespace vesko::bench {

// A photo's pixels as 8-bit RGB, rows top to bottom.
struct RgbImage {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> pixels;
};

// The whole JPEG at full size, with plain libjpeg-turbo.
RgbImage decodeJpeg(const std::filesystem::path& file);

// PNG versions of the JPEGs in `jpegFolder`, written once into `outFolder` (libpng's default
// compression) and reused by later runs.
std::vector<std::filesystem::path> pngCopiesOf(const std::vector<std::filesystem::path>& jpegs,
                                               const std::filesystem::path& outFolder);

}  // namespace vesko::bench
