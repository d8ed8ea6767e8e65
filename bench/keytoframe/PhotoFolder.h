#pragma once

#include <filesystem>
#include <vector>

namespace vesko {

// A scratch folder of `count` photos, made by linking (or, across file systems, copying) the
// JPEG, PNG, WebP or HEIC files of `source` round-robin under new names. Removed with the
// object; the source is never touched. With `shots`, each photo has an empty CR3 and XMP beside
// it, which move with it.
class PhotoFolder {
public:
    PhotoFolder(const std::filesystem::path& source, int count, bool shots = false);
    ~PhotoFolder();
    PhotoFolder(const PhotoFolder&) = delete;
    PhotoFolder& operator=(const PhotoFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The source photos, in the order they were used.
    const std::vector<std::filesystem::path>& sources() const { return sources_; }

private:
    std::filesystem::path path_;
    std::vector<std::filesystem::path> sources_;
};

}  // namespace vesko
