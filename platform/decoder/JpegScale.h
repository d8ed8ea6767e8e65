#pragma once

#include "platform/decoder/Geometry.h"

namespace vesko::decoder {

// The numerator (of 8) of the smallest DCT scaling by which libjpeg-turbo still decodes an
// image of size `image` to at least `target` in both directions.
unsigned jpegScaleEighths(Size image, Size target);

}  // namespace vesko::decoder
