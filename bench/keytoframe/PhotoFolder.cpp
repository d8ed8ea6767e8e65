#include "PhotoFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace vesko {
namespace {

bool isPhoto(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".jpg" || extension == ".jpeg" || extension == ".png" ||
           extension == ".webp" || extension == ".heic" || extension == ".dng";
}

}  // namespace

PhotoFolder::PhotoFolder(const std::filesystem::path& source, int count, bool shots) {
    for (const auto& entry : std::filesystem::directory_iterator(source)) {
        if (entry.is_regular_file() && isPhoto(entry.path())) {
            sources_.push_back(entry.path());
        }
    }
    if (sources_.empty()) {
        throw std::runtime_error("no photos in " + source.string());
    }
    std::sort(sources_.begin(), sources_.end());
    std::string pattern = (std::filesystem::temp_directory_path() / "vesko-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = pattern;
    for (int i = 0; i < count; ++i) {
        const auto& from = sources_[static_cast<std::size_t>(i) % sources_.size()];
        const auto to = path_ / (std::to_string(1000 + i) + "-" + from.filename().string());
        std::error_code error;
        std::filesystem::create_hard_link(from, to, error);
        if (error) {
            std::filesystem::copy_file(from, to);
        }
        if (shots) {
            std::ofstream(std::filesystem::path(to).replace_extension(".CR3"));
            std::ofstream(std::filesystem::path(to).replace_extension(".xmp"));
        }
    }
}

PhotoFolder::~PhotoFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vesko
