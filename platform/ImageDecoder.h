#pragma once

#include <filesystem>
#include <string>
#include <vector>

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

    // A hint, not a request: the files the caller will likely decode next, soonest first (the
    // one about to be shown included), and any it wants kept at hand because it may ask for them
    // again. A decoder may prepare them ahead and let go of whatever is not named; an empty list
    // lets go of everything. decode() must give the same answer with or without the hint.
    // Called from the thread that calls decode(); does not wait for any decode.
    virtual void expect(const std::vector<std::string>& comingUp) { (void)comingUp; }
};

}  // namespace vesko
