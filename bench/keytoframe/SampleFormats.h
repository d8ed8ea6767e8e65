#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesko::bench {

struct SampleFormat {
    std::string name;
    std::filesystem::path folder;
};

// The formats a photographer brings, from the sample photos under `photos` (its jpeg, heic and
// webp folders): JPEG, PNG and WebP, HEIC, a large progressive JPEG, and RAW files (DNGs whose
// full-size preview is the sample JPEG). The PNG, progressive JPEG and DNG copies are written
// once into `scratch` and reused by later runs.
std::vector<SampleFormat> sampleFormats(const std::filesystem::path& photos,
                                        const std::filesystem::path& scratch);

}  // namespace vesko::bench
