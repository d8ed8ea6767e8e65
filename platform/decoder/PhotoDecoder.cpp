#include "platform/decoder/PhotoDecoder.h"

#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"

namespace vesko {

PhotoDecoder::PhotoDecoder(DisplayBound bound) : bound_(bound) {}

ImageHandle PhotoDecoder::decode(const std::filesystem::path& file) const {
    try {
        const auto bytes = decoder::readWholeFile(file);
        if (!bytes) return nullptr;
        return decoder::decodeAny(*bytes, bound_);
    } catch (...) {
        // The libraries report through their own channels; anything else thrown means no image.
        return nullptr;
    }
}

}  // namespace vesko
