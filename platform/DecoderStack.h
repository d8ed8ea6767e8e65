#pragma once

#include <memory>

#include "AheadDecoder.h"
#include "HintedDecoder.h"

namespace vesko {

// The decoders the app stacks around its photo decoder: decoding ahead, and the latest hint
// kept for the window. The tests and the benchmarks that stand for the app use the same.
inline std::shared_ptr<HintedDecoder> decoderStackOver(
    std::shared_ptr<const ImageDecoder> photos, int workers = AheadDecoder::defaultWorkerCount()) {
    return std::make_shared<HintedDecoder>(
        std::make_shared<AheadDecoder>(std::move(photos), workers));
}

}  // namespace vesko
