#include "ScreenDecoder.h"

#include "platform/decoder/PhotoDecoder.h"
#include "platform/qt/ScreenPixels.h"

namespace vesko {

std::shared_ptr<ImageDecoder> decoderForScreens() {
    const QSize bound = largestScreenInPixels();
    return std::make_shared<PhotoDecoder>(DisplayBound{bound.width(), bound.height()});
}

}  // namespace vesko
