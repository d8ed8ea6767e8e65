#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "DecodedImage.h"

namespace vesko {

// Why a file gave no image, as far as a quick look at it tells.
enum class DecodeProblem {
    none,
    unknown,      // the decoder cannot say
    unreadable,   // missing, not a regular file, no permission, or too large to read
    notAnImage,   // no format the decoder reads
    undecodable,  // a format it reads, but damaged, incomplete or too large to show
};

// Turns a photo file into pixels ready for the screen.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;

    // Reads the file at `file` and decodes it. Returns null when the file cannot be read, holds
    // no image data the decoder recognises, or is refused as unsafe (too many pixels); never
    // throws. Reentrant: may be called on any thread, also on several at once.
    virtual ImageHandle decode(const std::filesystem::path& file) const = 0;

    // Why `file` gave no image, after decode() returned null: a look at the file, not a
    // second decode. Reentrant like decode().
    virtual DecodeProblem whyNoImage(const std::filesystem::path& file) const {
        (void)file;
        return DecodeProblem::unknown;
    }

    // A hint, not a request: the files the caller will likely decode next, soonest first (the
    // one about to be shown included), and any it wants kept at hand because it may ask for them
    // again. A decoder may prepare them ahead and let go of whatever is not named; an empty list
    // lets go of everything. decode() must give the same answer with or without the hint.
    // Called from the thread that calls decode(); does not wait for any decode.
    virtual void expect(const std::vector<std::string>& comingUp) { (void)comingUp; }
};

}  // namespace vesko
