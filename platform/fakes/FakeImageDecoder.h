#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ImageDecoder.h"

namespace vesko {

// Decodes any file that exists on the given file system into a 1 x 1 image, except files
// marked corrupt; remembers every path it was asked for and every hint. Main thread only.
class FakeImageDecoder : public ImageDecoder {
public:
    explicit FakeImageDecoder(std::shared_ptr<const FileSystem> fileSystem)
        : fileSystem_(std::move(fileSystem)) {}

    void markCorrupt(const std::filesystem::path& file) { corrupt_.insert(file); }
    const std::vector<std::filesystem::path>& decoded() const { return decoded_; }
    const std::vector<std::vector<std::string>>& hints() const { return hints_; }

    ImageHandle decode(const std::filesystem::path& file) const override;
    void expect(const std::vector<std::string>& comingUp) override { hints_.push_back(comingUp); }
    // Corrupt files are not images; anything else without an image cannot be read.
    DecodeProblem whyNoImage(const std::filesystem::path& file) const override {
        return corrupt_.contains(file) ? DecodeProblem::notAnImage : DecodeProblem::unreadable;
    }

private:
    std::shared_ptr<const FileSystem> fileSystem_;
    std::set<std::filesystem::path> corrupt_;
    mutable std::vector<std::filesystem::path> decoded_;
    std::vector<std::vector<std::string>> hints_;
};

}  // namespace vesko
