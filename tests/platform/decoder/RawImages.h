#pragma once

#include "TestImages.h"

// Camera RAW files for the decoder's tests, fuzzing and benchmarks: DNGs written here, since
// real camera files cannot ship with the tests.
namespace vesko::testimages {

struct DngOptions {
    // The embedded preview's bytes, stored in the first IFD as DNG does; none when empty.
    Bytes preview;
    bool previewIsBitmap = false;  // uncompressed RGB instead of JPEG (`preview` is ignored)
    int orientation = 1;           // EXIF's numbering, as the camera records it
    bool adobeRgb = false;         // EXIF's colour space
    bool withRawData = true;       // false leaves the raw IFD pointing past the file's end
    long previewOffsetShift = 0;   // moves the preview's recorded offset, not its bytes
    bool previewAsExifJpeg = false;  // as IFD 0's JPEGInterchangeFormat, not as its strip
};

// A little-endian DNG whose raw data is `sensor` (as stored, before the turn) mosaicked as 16-bit
// RGGB, with the camera's white balance neutral.
Bytes makeDng(const Picture& sensor, const DngOptions& options = {});

}  // namespace vesko::testimages
