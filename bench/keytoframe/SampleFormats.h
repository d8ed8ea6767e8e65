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

// The sample JPEGs stretched to 6000 x 4000 and written as baseline JPEGs of quality 95, once,
// into `scratch`: a 24-megapixel camera's photos, for the zoom.
SampleFormat largeJpegs(const std::filesystem::path& photos, const std::filesystem::path& scratch);

// The files in `folder`, sorted.
std::vector<std::filesystem::path> photosIn(const std::filesystem::path& folder);

}  // namespace vesko::bench
