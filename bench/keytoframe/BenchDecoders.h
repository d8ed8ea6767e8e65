#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImageDecoder.h"

namespace vesko::bench {

// The window's decoder, switched between runs.
class SwitchedDecoder : public ImageDecoder {
public:
    void use(std::shared_ptr<ImageDecoder> decoder) { current_ = std::move(decoder); }
    ImageHandle decode(const std::filesystem::path& file) const override {
        return current_->decode(file);
    }
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        return current_->whyNoImage(file);
    }
    void expect(const std::vector<std::string>& comingUp) override { current_->expect(comingUp); }

private:
    std::shared_ptr<ImageDecoder> current_;
};

// Decodes on the keystroke and ignores every hint, as Vesko did before it decoded ahead.
class OnTheKeystroke : public ImageDecoder {
public:
    explicit OnTheKeystroke(std::shared_ptr<const ImageDecoder> inner) : inner_(std::move(inner)) {}
    ImageHandle decode(const std::filesystem::path& file) const override {
        return inner_->decode(file);
    }
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        return inner_->whyNoImage(file);
    }

private:
    std::shared_ptr<const ImageDecoder> inner_;
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
