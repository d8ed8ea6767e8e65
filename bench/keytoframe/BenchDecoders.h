#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ImageDecoderWrapper.h"

namespace vesko::bench {

// The window's decoder, switched between runs. The zoom's workers may still be decoding for
// the last run when the next one switches: each call holds the decoder it started with.
class SwitchedDecoder : public ImageDecoder {
public:
    void use(std::shared_ptr<ImageDecoder> decoder) {
        const std::lock_guard lock(mutex_);
        target_ = std::move(decoder);
    }
    ImageHandle decode(const std::filesystem::path& file) const override {
        const auto target = current();
        return target ? target->decode(file) : nullptr;
    }
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        const auto target = current();
        return target ? target->whyNoImage(file) : DecodeProblem::unknown;
    }
    std::optional<PixelSize> fullSize(const std::filesystem::path& file) const override {
        const auto target = current();
        return target ? target->fullSize(file) : std::nullopt;
    }
    ImageHandle decodeRegion(const std::filesystem::path& file, PixelRect region) const override {
        const auto target = current();
        return target ? target->decodeRegion(file, region) : nullptr;
    }
    bool decodesRegionsAlone(const std::filesystem::path& file) const override {
        const auto target = current();
        return target && target->decodesRegionsAlone(file);
    }
    void expect(const std::vector<std::string>& comingUp) override {
        if (const auto target = current()) target->expect(comingUp);
    }

private:
    std::shared_ptr<ImageDecoder> current() const {
        const std::lock_guard lock(mutex_);
        return target_;
    }

    mutable std::mutex mutex_;
    std::shared_ptr<ImageDecoder> target_;
};

// Decodes on the keystroke and ignores every hint, as Vesko did before it decoded ahead.
class OnTheKeystroke : public ImageDecoderWrapper {
public:
    explicit OnTheKeystroke(std::shared_ptr<const ImageDecoder> inner)
        : ImageDecoderWrapper(std::move(inner)) {}
};

// Every photo of a folder decoded before the run: what the window costs alone.
class AlreadyDecoded : public ImageDecoder {
public:
    AlreadyDecoded(const ImageDecoder& inner, const std::filesystem::path& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            images_[entry.path().native()] = inner.decode(entry.path());
        }
    }
    ImageHandle decode(const std::filesystem::path& file) const override {
        const auto found = images_.find(file.native());
        return found == images_.end() ? nullptr : found->second;
    }

private:
    std::map<std::string, ImageHandle> images_;
};

}  // namespace vesko::bench
