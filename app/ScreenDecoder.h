#pragma once

#include <memory>

#include "platform/CaptureReader.h"
#include "platform/HintedDecoder.h"

namespace vesko {

// The photo decoder for this machine's screens: photos decoded no larger than the largest
// screen shows them. Vesko's own decoder where it was built, Qt's image reader otherwise.
// Needs the application object to exist.
std::shared_ptr<const ImageDecoder> decoderForScreens();

// The same in the app's stack (platform/DecoderStack.h): decoding the photos the classifier
// expects next on background threads, so that an answer shows the next photo without waiting
// for its decode, and keeping the hint for the window.
std::shared_ptr<HintedDecoder> decoderStackForScreens();

// Ends what the decoder runs in other processes (LibRaw's readers), so that closing the window
// does not wait for a RAW file's raw data to be demosaiced.
void stopDecodingOutside();

// Capture times read from the photos' files ahead of the user, by the decoder's own reader.
std::shared_ptr<CaptureReader> captureReaderOfFiles();

}  // namespace vesko
