#include "ScreenDecoder.h"

#include "platform/DecoderStack.h"
#include "platform/decoder/PhotoDecoder.h"
#include "platform/qt/ScreenPixels.h"

namespace vesko {

std::shared_ptr<const ImageDecoder> decoderForScreens() {
    const QSize bound = largestScreenInPixels();
    return std::make_shared<PhotoDecoder>(DisplayBound{bound.width(), bound.height()});
}

std::shared_ptr<HintedDecoder> decoderStackForScreens() {
    return decoderStackOver(decoderForScreens());
}

}  // namespace vesko
