#include "ScreenDecoder.h"

#include "platform/AheadFactsReader.h"
#include "platform/DecoderStack.h"
#include "platform/decoder/PhotoDecoder.h"
#include "platform/decoder/RawReaderClient.h"
#include "platform/decoder/ShootingFactsReader.h"
#include "platform/qt/ScreenPixels.h"

namespace vesko {

std::shared_ptr<const ImageDecoder> decoderForScreens() {
    const QSize bound = largestScreenInPixels();
    return std::make_shared<PhotoDecoder>(DisplayBound{bound.width(), bound.height()});
}

std::shared_ptr<HintedDecoder> decoderStackForScreens() {
    return decoderStackOver(decoderForScreens());
}

std::shared_ptr<CaptureReader> captureReaderOfFiles() {
    return std::make_shared<AheadFactsReader>(
        [](const std::string& file) { return decoder::readShootingFactsOfFile(file); });
}

void stopDecodingOutside() { decoder::stopRawReaders(); }

}  // namespace vesko
