#pragma once

#include <filesystem>

#include "DecodedImage.h"

namespace vesko {

// Turns a photo file into pixels ready for the screen.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;

    // Reads the file at `file` and decodes it. Returns null when the file cannot be read, holds
    // no image data the decoder recognises, or is refused as unsafe (too many pixels); never
    // throws. Reentrant: may be called on any thread, also on several at once.
    virtual ImageHandle decode(const std::filesystem::path& file) const = 0;
};

}  // namespace vesko
