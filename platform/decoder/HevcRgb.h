#pragma once

extern "C" {
#include <libavutil/frame.h>
}
#include <libheif/heif.h>

namespace vesko::decoder {

// Converts an 8-bit Y'CbCr picture (4:2:0, 4:2:2 or 4:4:4) to planar RGB with the matrix and
// range its stream names, into a new image of libheif's. Null where that takes a matrix libyuv
// does not have (FCC, SMPTE 240M, constant-luminance ones) or memory runs out; the picture
// then goes to libheif as Y'CbCr.
heif_image* toRgbPlanes(const AVFrame& frame, heif_chroma chroma);

}  // namespace vesko::decoder
