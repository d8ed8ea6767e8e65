#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ImageDecoder.h"

namespace vesko {

// Another decoder, with the latest hint kept: what the caller will show now and next. The
// window learns from it which photo is current and which comes next, without a look at the
// classifier's queue. expect() and latestHint() belong to the one thread that calls expect().
class HintedDecoder : public ImageDecoder {
public:
    explicit HintedDecoder(std::shared_ptr<ImageDecoder> inner) : inner_(std::move(inner)) {}

    // The files of the latest hint, the one shown first; empty while none is shown.
    const std::vector<std::string>& latestHint() const { return latestHint_; }

    ImageHandle decode(const std::filesystem::path& file) const override {
        return inner_->decode(file);
    }
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        return inner_->whyNoImage(file);
    }
    std::optional<PixelSize> fullSize(const std::filesystem::path& file) const override {
        return inner_->fullSize(file);
    }
    ImageHandle decodeRegion(const std::filesystem::path& file, PixelRect region) const override {
        return inner_->decodeRegion(file, region);
    }
    void expect(const std::vector<std::string>& comingUp) override {
        latestHint_ = comingUp;
        inner_->expect(comingUp);
    }

private:
    std::shared_ptr<ImageDecoder> inner_;
    std::vector<std::string> latestHint_;
};

}  // namespace vesko
