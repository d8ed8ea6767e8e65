#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "ImageDecoder.h"

namespace vesko {

// A decoder around another one, its target, to which it forwards every call. Every decoder
// that wraps another derives from it and overrides only what it changes, so that a method
// added to ImageDecoder reaches the target through any stack of wrappers without a word in
// each. Hints reach a target given as mutable; one given as const takes none.
class ImageDecoderWrapper : public ImageDecoder {
public:
    template <typename Decoder>
    explicit ImageDecoderWrapper(std::shared_ptr<Decoder> target) {
        retarget(std::move(target));
    }

    ImageHandle decode(const std::filesystem::path& file) const override {
        return target_->decode(file);
    }
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        return target_->whyNoImage(file);
    }
    std::optional<PixelSize> fullSize(const std::filesystem::path& file) const override {
        return target_->fullSize(file);
    }
    ImageHandle decodeRegion(const std::filesystem::path& file, PixelRect region) const override {
        return target_->decodeRegion(file, region);
    }
    bool decodesRegionsAlone(const std::filesystem::path& file) const override {
        return target_->decodesRegionsAlone(file);
    }
    void expect(const std::vector<std::string>& comingUp) override {
        if (hintTarget_) hintTarget_->expect(comingUp);
    }

protected:
    const std::shared_ptr<const ImageDecoder>& target() const { return target_; }

    // Not while another thread calls this wrapper.
    template <typename Decoder>
    void retarget(std::shared_ptr<Decoder> target) {
        if constexpr (std::is_const_v<Decoder>) {
            hintTarget_ = nullptr;
        } else {
            hintTarget_ = target;
        }
        target_ = std::move(target);
    }

private:
    std::shared_ptr<const ImageDecoder> target_;
    std::shared_ptr<ImageDecoder> hintTarget_;
};

}  // namespace vesko
