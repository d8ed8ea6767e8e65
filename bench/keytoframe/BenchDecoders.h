#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImageDecoderWrapper.h"

namespace vesko::bench {

// The window's decoder, switched between runs.
class SwitchedDecoder : public ImageDecoderWrapper {
public:
    SwitchedDecoder() : ImageDecoderWrapper(std::shared_ptr<ImageDecoder>()) {}
    void use(std::shared_ptr<ImageDecoder> decoder) { retarget(std::move(decoder)); }
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
