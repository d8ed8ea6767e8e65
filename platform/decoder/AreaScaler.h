#pragma once

#include <cstdint>
#include <vector>

#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {

// Shrinks an RGBA image by averaging the source area under each target pixel (a box filter
// with fractional edges), taking rows one at a time so that the source never has to be held
// whole. Alpha is weighted in (the output is premultiplied), so transparent pixels do not
// bleed their colour into the edges.
class AreaScaler {
public:
    // `target` must be no larger than `source` in either direction.
    AreaScaler(Size source, Size target, bool hasAlpha);

    // False when the target raster could not be allocated.
    bool valid() const { return !out_.pixels.empty(); }

    // Feeds the next source row (source.width RGBA pixels, not premultiplied).
    void addRow(const std::uint8_t* rgba);

    // The finished image; rows never reached by addRow stay transparent black.
    Raster take();

private:
    struct Tap {
        int first;
        int count;
        int weightsAt;
    };

    void shrinkRow(const std::uint8_t* rgba);
    void accumulate(float weight);
    void emit();

    Size source_;
    Size target_;
    double rowsPerTarget_;
    std::vector<Tap> taps_;
    std::vector<float> weights_;
    std::vector<float> shrunk_;
    std::vector<float> sum_;
    int sourceRow_ = 0;
    int targetRow_ = 0;
    Raster out_;
};

// Shrinks a whole raster to `target` (returns it unchanged when it is that size already).
Raster shrink(Raster raster, Size target);

}  // namespace vesko::decoder
