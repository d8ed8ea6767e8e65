#include "ScreenDecoder.h"

#include "platform/AheadDecoder.h"
#include "platform/qt/ScreenPixels.h"
#ifdef VESKO_HAVE_PHOTO_DECODER
#include "platform/decoder/PhotoDecoder.h"
#else
#include "platform/qt/QtImageDecoder.h"
#endif

namespace vesko {

std::shared_ptr<const ImageDecoder> decoderForScreens() {
    const QSize bound = largestScreenInPixels();
#ifdef VESKO_HAVE_PHOTO_DECODER
    return std::make_shared<PhotoDecoder>(DisplayBound{bound.width(), bound.height()});
#else
    return std::make_shared<QtImageDecoder>(bound);
#endif
}

std::shared_ptr<ImageDecoder> decoderAheadForScreens() {
    return std::make_shared<AheadDecoder>(decoderForScreens());
}

}  // namespace vesko
