#pragma once

#include <filesystem>

#include "platform/ImageDecoder.h"
#include "platform/decoder/DisplayBound.h"

namespace vesko {

// Decodes JPEG, PNG, WebP, HEIC and camera RAW photos for the screen: the right way up, in sRGB,
// and no larger than needed to fill `bound`. The format is told from the file's first bytes, not
// its name. Holds nothing but the bound, so one instance may serve several threads.
class PhotoDecoder : public ImageDecoder {
public:
    explicit PhotoDecoder(DisplayBound bound = {3840, 2160});

    ImageHandle decode(const std::filesystem::path& file) const override;
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override;
    std::optional<PixelSize> fullSize(const std::filesystem::path& file) const override;
    ImageHandle decodeRegion(const std::filesystem::path& file, PixelRect region) const override;
    bool decodesRegionsAlone(const std::filesystem::path& file) const override;

private:
    DisplayBound bound_;
};

}  // namespace vesko
