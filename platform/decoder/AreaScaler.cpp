#include "platform/decoder/AreaScaler.h"

#include <algorithm>
#include <cmath>

#include "platform/decoder/Parallel.h"

namespace vesko::decoder {
namespace {

using Pixel = float __attribute__((vector_size(16)));

template <int BytesPerPixel>
Pixel load(const std::uint8_t* p) {
    if constexpr (BytesPerPixel == 3) {
        return Pixel{float(p[0]), float(p[1]), float(p[2]), 255.0f};
    } else {
        return Pixel{float(p[0]), float(p[1]), float(p[2]), float(p[3])};
    }
}

std::uint8_t toByte(float value) { return std::uint8_t(std::clamp(int(value + 0.5f), 0, 255)); }

}  // namespace

AreaScaler::AreaScaler(Size source, Size target, int bytesPerPixel, Raster& out, int firstRow,
                       int endRow)
    : source_(source),
      bytesPerPixel_(bytesPerPixel),
      rowsPerTarget_(double(source.height) / target.height),
      out_(out),
      sourceRow_(0),
      targetRow_(firstRow),
      endRow_(endRow) {
    sourceRow_ = firstSourceRow();
    const double columnsPerTarget = double(source.width) / target.width;
    taps_.reserve(std::size_t(target.width));
    for (int x = 0; x < target.width; ++x) {
        const double start = x * columnsPerTarget;
        const double end = std::min((x + 1) * columnsPerTarget, double(source.width));
        const int first = int(start);
        const int last = std::min(int(std::ceil(end)), source.width);
        taps_.push_back({first, last - first, int(weights_.size())});
        for (int column = first; column < last; ++column) {
            const double covered = std::min(end, column + 1.0) - std::max(start, double(column));
            weights_.push_back(float(covered / columnsPerTarget));
        }
    }
    shrunk_.assign(std::size_t(target.width), Pixel{});
    sum_.assign(std::size_t(target.width), Pixel{});
}

int AreaScaler::firstSourceRow() const {
    return std::min(int(targetRow_ * rowsPerTarget_), source_.height);
}

template <int BytesPerPixel, bool Alpha>
void AreaScaler::shrinkRow(const std::uint8_t* pixels) {
    Pixel* out = shrunk_.data();
    for (const Tap& tap : taps_) {
        const std::uint8_t* pixel = pixels + std::size_t(tap.first) * BytesPerPixel;
        const float* weight = weights_.data() + tap.weightsAt;
        Pixel sum{};
        for (int i = 0; i < tap.count; ++i, pixel += BytesPerPixel) {
            if constexpr (Alpha) {
                const float alpha = pixel[3] * (1.0f / 255);
                sum += weight[i] * (load<BytesPerPixel>(pixel) * Pixel{alpha, alpha, alpha, 1});
            } else {
                sum += weight[i] * load<BytesPerPixel>(pixel);
            }
        }
        *out++ = sum;
    }
}

void AreaScaler::accumulate(float weight) {
    for (std::size_t i = 0; i < sum_.size(); ++i) sum_[i] += weight * shrunk_[i];
}

void AreaScaler::emit() {
    std::uint8_t* row = out_.row(targetRow_);
    for (const Pixel& pixel : sum_) {
        for (int c = 0; c < 4; ++c) *row++ = toByte(pixel[c]);
    }
    std::fill(sum_.begin(), sum_.end(), Pixel{});
    ++targetRow_;
}

void AreaScaler::addRow(const std::uint8_t* pixels) {
    if (!wantsRows() || sourceRow_ >= source_.height) return;
    if (bytesPerPixel_ == 3) {
        shrinkRow<3, false>(pixels);
    } else if (out_.hasAlpha) {
        shrinkRow<4, true>(pixels);
    } else {
        shrinkRow<4, false>(pixels);
    }
    const double top = sourceRow_;
    const double bottom = ++sourceRow_;
    // A target row spans at least one source row, so a source row feeds at most two of them.
    while (wantsRows()) {
        const double rowStart = targetRow_ * rowsPerTarget_;
        const double rowEnd = std::min(rowStart + rowsPerTarget_, double(source_.height));
        const double covered = std::min(bottom, rowEnd) - std::max(top, rowStart);
        if (covered > 0) accumulate(float(covered / rowsPerTarget_));
        if (rowEnd > bottom + 1e-9) break;
        emit();
    }
}

StreamingShrink::StreamingShrink(Size source, Size target, bool hasAlpha)
    : out_(makeRaster(target.width, target.height, hasAlpha)),
      scaler_(source, target, 4, out_, 0, out_.pixels.empty() ? 0 : target.height) {
    out_.premultiplied = true;
}

namespace {

void shrinkBand(const RowReader& rows, int bytesPerPixel, Size source, Size target, Raster& out,
                int firstRow, int endRow) {
    AreaScaler scaler(source, target, bytesPerPixel, out, firstRow, endRow);
    std::vector<std::uint8_t> scratch;
    for (int y = scaler.firstSourceRow(); y < source.height && scaler.wantsRows(); ++y) {
        scaler.addRow(rows(y, scratch));
    }
}

}  // namespace

Raster shrinkInMemory(const RowReader& rows, int bytesPerPixel, Size source, Size target,
                      bool hasAlpha) {
    Raster out = makeRaster(target.width, target.height, hasAlpha);
    if (out.pixels.empty()) return out;
    out.premultiplied = true;
    const int middle = target.height / 2;
    inParallel(
        [&] { shrinkBand(rows, bytesPerPixel, source, target, out, 0, middle); },
        [&] { shrinkBand(rows, bytesPerPixel, source, target, out, middle, target.height); });
    return out;
}

Raster shrinkInMemory(const std::uint8_t* pixels, std::size_t stride, int bytesPerPixel,
                      Size source, Size target, bool hasAlpha) {
    const RowReader rows = [pixels, stride](int y, std::vector<std::uint8_t>&) {
        return pixels + std::size_t(y) * stride;
    };
    return shrinkInMemory(rows, bytesPerPixel, source, target, hasAlpha);
}

Raster shrink(Raster raster, Size target) {
    if (target == Size{raster.width, raster.height}) return raster;
    return shrinkInMemory(raster.pixels.data(), std::size_t(raster.width) * 4, 4,
                          {raster.width, raster.height}, target, raster.hasAlpha);
}

}  // namespace vesko::decoder
