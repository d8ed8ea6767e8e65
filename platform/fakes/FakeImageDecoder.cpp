#include "FakeImageDecoder.h"

namespace vesko {

ImageHandle FakeImageDecoder::decode(const std::filesystem::path& file) const {
    decoded_.push_back(file);
    const PathKind kind = fileSystem_->kindOf(file);
    if (!kind.exists || kind.isDirectory || corrupt_.contains(file)) {
        return nullptr;
    }
    return std::make_shared<DecodedImage>(1, 1, 4, std::vector<std::uint8_t>{0, 0, 0, 255}, false);
}

}  // namespace vesko
