#include "platform/decoder/JpegScale.h"

#include <initializer_list>

namespace vesko::decoder {
namespace {

// libjpeg-turbo rounds scaled dimensions up.
long long scaled(int length, unsigned eighths) { return (length * (long long)eighths + 7) / 8; }

}  // namespace

// Only 1/8, 1/4 and 1/2 have fast inverse DCTs in libjpeg-turbo; the odd eighths in between
// (3/8, 5/8 and so on) go through slow generic ones and can take longer than a full decode.
unsigned jpegScaleEighths(Size image, Size target) {
    for (const unsigned eighths : {1u, 2u, 4u}) {
        if (scaled(image.width, eighths) >= target.width &&
            scaled(image.height, eighths) >= target.height) {
            return eighths;
        }
    }
    return 8;
}

}  // namespace vesko::decoder
