#pragma once

extern "C" {
#include <libavutil/frame.h>
}
#include <libheif/heif.h>

namespace vesko::decoder {

// A picture FFmpeg decoded, as libheif takes it from a decoder plugin: 8-bit colour converted
// to planar RGB with the stream's matrix and range, anything else (deeper, greyscale, an alpha
// plane's picture) as the planes libde265 would give. Null for a layout libheif has no
// counterpart for, or when memory runs out.
heif_image* toHeifImage(const AVFrame& frame);

}  // namespace vesko::decoder
