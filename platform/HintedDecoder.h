#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ImageDecoderWrapper.h"

namespace vesko {

// Another decoder, with the latest hint kept: what the caller will show now and next. The
// window learns from it which photo is current and which comes next, without a look at the
// classifier's queue. expect() and latestHint() belong to the one thread that calls expect().
class HintedDecoder : public ImageDecoderWrapper {
public:
    explicit HintedDecoder(std::shared_ptr<ImageDecoder> inner)
        : ImageDecoderWrapper(std::move(inner)) {}

    // The files of the latest hint, the one shown first; empty while none is shown.
    const std::vector<std::string>& latestHint() const { return latestHint_; }

    void expect(const std::vector<std::string>& comingUp) override {
        latestHint_ = comingUp;
        ImageDecoderWrapper::expect(comingUp);
    }

private:
    std::vector<std::string> latestHint_;
};

}  // namespace vesko
