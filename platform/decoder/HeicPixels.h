#pragma once

#include <libheif/heif.h>

#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"

// Reading the pictures libheif decodes: planar RGB (with an alpha plane where the image has
// alpha) at 8 to 16 bits, or interleaved 8-bit RGB / RGBA.
namespace vesko::decoder {

Size pictureSize(const heif_image* image, bool planar);

// Whether the R, G, B (and alpha) planes are all there, of one size and one depth.
bool planesShareDepth(const heif_image* image, bool hasAlpha);

// Shrinks the picture to fit `bound`; deeper samples are rounded to 8 bits. An empty raster
// when the picture is not laid out as expected or memory runs out.
Raster shrinkPicture(const heif_image* image, bool planar, bool hasAlpha, Size size,
                     DisplayBound bound);

}  // namespace vesko::decoder
