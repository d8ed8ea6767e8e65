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

PixelSize uprightSize(Size stored, int orientation) {
    if (orientation >= 5 && orientation <= 8) return {stored.height, stored.width};
    return {stored.width, stored.height};
}

namespace {

struct Point {
    int x;
    int y;
};

// The stored pixel that the turned image shows at (x, y); the inverse of the turn in Raster.
Point storedPoint(Point upright, Size stored, int orientation) {
    const int x = upright.x, y = upright.y;
    const int right = stored.width - 1, bottom = stored.height - 1;
    switch (orientation) {
        case 2:
            return {right - x, y};
        case 3:
            return {right - x, bottom - y};
        case 4:
            return {x, bottom - y};
        case 5:
            return {y, x};
        case 6:
            return {y, bottom - x};
        case 7:
            return {right - y, bottom - x};
        case 8:
            return {right - y, x};
        default:
            return {x, y};
    }
}

}  // namespace

PixelRect storedRegion(PixelRect upright, Size stored, int orientation) {
    if (upright.isEmpty()) return {};
    const Point first = storedPoint({upright.x, upright.y}, stored, orientation);
    const Point last = storedPoint({upright.x + upright.width - 1, upright.y + upright.height - 1},
                                   stored, orientation);
    const int left = std::min(first.x, last.x), top = std::min(first.y, last.y);
    return {left, top, std::max(first.x, last.x) - left + 1, std::max(first.y, last.y) - top + 1};
}

}  // namespace vesko::decoder
