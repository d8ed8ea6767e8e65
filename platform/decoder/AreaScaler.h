#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/decoder/Geometry.h"
#include "platform/decoder/Raster.h"

namespace vesko::decoder {

// Shrinks an image by averaging the source area under each target pixel (a box filter with
// fractional edges). Alpha is weighted in, so transparent pixels do not bleed their colour into
// the edges, and the output is premultiplied. Source pixels are RGBA, or RGB (3 bytes) for
// opaque images, not premultiplied.
class AreaScaler {
public:
    // Produces target rows [firstRow, endRow) of `out`, which must be target-sized; rows are fed
    // from source row firstSourceRow() on. Several scalers may fill disjoint bands of one raster
    // at once.
    AreaScaler(Size source, Size target, int bytesPerPixel, Raster& out, int firstRow, int endRow);

    int firstSourceRow() const;
    // False once every target row of the band is written.
    bool wantsRows() const { return targetRow_ < endRow_; }
    void addRow(const std::uint8_t* pixels);

private:
    using Pixel = float __attribute__((vector_size(16)));
    struct Tap {
        int first;
        int count;
        int weightsAt;
    };

    template <int BytesPerPixel, bool Alpha>
    void shrinkRow(const std::uint8_t* pixels);
    void accumulate(float weight);
    void emit();

    Size source_;
    int bytesPerPixel_;
    double rowsPerTarget_;
    std::vector<Tap> taps_;
    std::vector<float> weights_;
    std::vector<Pixel> shrunk_;
    std::vector<Pixel> sum_;
    Raster& out_;
    int sourceRow_;
    int targetRow_;
    int endRow_;
};

// Streams rows of a whole image through one scaler into a raster of its own.
class StreamingShrink {
public:
    StreamingShrink(Size source, Size target, bool hasAlpha);
    bool valid() const { return !out_.pixels.empty(); }
    void addRow(const std::uint8_t* rgba) { scaler_.addRow(rgba); }
    // Rows never reached stay transparent black.
    Raster take() { return std::move(out_); }

private:
    Raster out_;
    AreaScaler scaler_;
};

// Source row `y` of an image held in memory, as RGB or RGBA pixels. `scratch` belongs to the
// calling thread, for a reader that has to assemble the row first. Called from two threads.
using RowReader = std::function<const std::uint8_t*(int y, std::vector<std::uint8_t>& scratch)>;

// Shrinks an image held in memory, on two threads. An empty raster when memory runs out.
Raster shrinkInMemory(const RowReader& rows, int bytesPerPixel, Size source, Size target,
                      bool hasAlpha);
Raster shrinkInMemory(const std::uint8_t* pixels, std::size_t stride, int bytesPerPixel,
                      Size source, Size target, bool hasAlpha);

// Shrinks a whole raster to `target` (returns it unchanged when it is that size already).
Raster shrink(Raster raster, Size target);

}  // namespace vesko::decoder
