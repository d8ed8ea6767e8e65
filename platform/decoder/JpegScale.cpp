#include "platform/decoder/JpegScale.h"

#include <initializer_list>

namespace vesko::decoder {
namespace {

// libjpeg-turbo rounds scaled dimensions up.
long long scaled(int length, unsigned eighths) { return (length * (long long)eighths + 7) / 8; }

}  // namespace

unsigned jpegScaleEighths(Size image, Size target) {
    for (const unsigned eighths : {1u, 2u, 3u, 4u, 5u, 6u, 7u}) {
        if (scaled(image.width, eighths) >= target.width &&
            scaled(image.height, eighths) >= target.height) {
            return eighths;
        }
    }
    return 8;
}

}  // namespace vesko::decoder
