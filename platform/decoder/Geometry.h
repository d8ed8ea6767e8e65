#pragma once

#include "platform/ImageDecoder.h"
#include "platform/decoder/DisplayBound.h"

namespace vesko::decoder {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(Size, Size) = default;
};

// Refused before decoding: more pixels than any camera makes, and a sure sign of a hostile file.
inline constexpr long long kMaxPixels = 300'000'000;

bool withinPixelLimit(long long width, long long height);

// The size `image` is shown at inside `bound`, keeping its aspect ratio; never larger than the
// image itself.
Size fitWithin(Size image, DisplayBound bound);

// The bound as seen by the stored pixels, before an orientation that swaps the axes (5 to 8).
DisplayBound boundBeforeOrientation(DisplayBound bound, int orientation);

// The size a stored image of `stored` has once turned by an EXIF orientation (1 to 8).
PixelSize uprightSize(Size stored, int orientation);

// The rectangle of stored pixels that EXIF orientation `orientation` turns into `upright`, a
// rectangle of the turned image; `stored` is the size before turning.
PixelRect storedRegion(PixelRect upright, Size stored, int orientation);

}  // namespace vesko::decoder
