#pragma once

#include <QImage>

#include "platform/DecodedImage.h"

namespace vesko {

// A QImage over the decoded pixels, without copying them; the image keeps the handle alive.
// A null handle gives a null image.
QImage imageFromHandle(const ImageHandle& handle);

}  // namespace vesko
