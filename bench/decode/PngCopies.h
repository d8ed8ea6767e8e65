#pragma once

#include <filesystem>
#include <vector>

namespace vesko::bench {

// PNG versions of the JPEGs in `jpegFolder`, written once into `outFolder` (libpng's default
// compression) and reused by later runs.
std::vector<std::filesystem::path> pngCopiesOf(const std::vector<std::filesystem::path>& jpegs,
                                               const std::filesystem::path& outFolder);

}  // namespace vesko::bench
