#include "platform/decoder/AreaScaler.h"

#include <algorithm>
#include <cmath>

namespace vesko::decoder {
namespace {

std::uint8_t toByte(float value) { return std::uint8_t(std::clamp(int(value + 0.5f), 0, 255)); }

}  // namespace

AreaScaler::AreaScaler(Size source, Size target, bool hasAlpha)
    : source_(source),
      target_(target),
      rowsPerTarget_(double(source.height) / target.height),
      out_(makeRaster(target.width, target.height, hasAlpha)) {
    out_.premultiplied = true;
    const double columnsPerTarget = double(source.width) / target.width;
    taps_.reserve(target.width);
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
    shrunk_.assign(std::size_t(target.width) * 4, 0.0f);
    sum_.assign(std::size_t(target.width) * 4, 0.0f);
}

void AreaScaler::shrinkRow(const std::uint8_t* rgba) {
    float* out = shrunk_.data();
    for (const Tap& tap : taps_) {
        const std::uint8_t* pixel = rgba + std::size_t(tap.first) * 4;
        const float* weight = weights_.data() + tap.weightsAt;
        float r = 0, g = 0, b = 0, a = 0;
        if (out_.hasAlpha) {
            for (int i = 0; i < tap.count; ++i, pixel += 4) {
                const float w = weight[i] * pixel[3] * (1.0f / 255);
                r += w * pixel[0];
                g += w * pixel[1];
                b += w * pixel[2];
                a += weight[i] * pixel[3];
            }
        } else {
            for (int i = 0; i < tap.count; ++i, pixel += 4) {
                r += weight[i] * pixel[0];
                g += weight[i] * pixel[1];
                b += weight[i] * pixel[2];
            }
            a = 255;
        }
        out[0] = r;
        out[1] = g;
        out[2] = b;
        out[3] = a;
        out += 4;
    }
}

void AreaScaler::accumulate(float weight) {
    for (std::size_t i = 0; i < sum_.size(); ++i) sum_[i] += weight * shrunk_[i];
}

void AreaScaler::emit() {
    std::uint8_t* row = out_.row(targetRow_);
    for (std::size_t i = 0; i < sum_.size(); ++i) row[i] = toByte(sum_[i]);
    std::fill(sum_.begin(), sum_.end(), 0.0f);
    ++targetRow_;
}

void AreaScaler::addRow(const std::uint8_t* rgba) {
    if (!valid() || sourceRow_ >= source_.height) return;
    shrinkRow(rgba);
    const double top = sourceRow_;
    const double bottom = ++sourceRow_;
    // A target row spans at least one source row, so a source row feeds at most two of them.
    while (targetRow_ < target_.height) {
        const double rowEnd = std::min((targetRow_ + 1) * rowsPerTarget_, double(source_.height));
        const double covered =
            std::min(bottom, rowEnd) - std::max(top, targetRow_ * rowsPerTarget_);
        if (covered > 0) accumulate(float(covered / rowsPerTarget_));
        if (rowEnd > bottom + 1e-9) break;
        emit();
    }
}

Raster AreaScaler::take() { return std::move(out_); }

Raster shrink(Raster raster, Size target) {
    if (target == Size{raster.width, raster.height}) return raster;
    AreaScaler scaler({raster.width, raster.height}, target, raster.hasAlpha);
    if (!scaler.valid()) return {};
    for (int y = 0; y < raster.height; ++y) scaler.addRow(raster.row(y));
    return scaler.take();
}

}  // namespace vesko::decoder
