#include "platform/decoder/Geometry.h"

#include <algorithm>
#include <cmath>

namespace vesko::decoder {

bool withinPixelLimit(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels &&
           width * height <= kMaxPixels;
}

Size fitWithin(Size image, DisplayBound bound) {
    const int boundWidth = std::max(bound.width, 1);
    const int boundHeight = std::max(bound.height, 1);
    if (image.width <= boundWidth && image.height <= boundHeight) return image;
    const double scale =
        std::min(double(boundWidth) / image.width, double(boundHeight) / image.height);
    const auto scaled = [scale](int length) {
        return std::max(1, int(std::lround(length * scale)));
    };
    return {std::min(scaled(image.width), image.width),
            std::min(scaled(image.height), image.height)};
}

DisplayBound boundBeforeOrientation(DisplayBound bound, int orientation) {
    if (orientation >= 5 && orientation <= 8) return {bound.height, bound.width};
    return bound;
}

}  // namespace vesko::decoder
