#pragma once

#include <QSize>

#include "platform/ImageDecoder.h"

namespace vesko {

// Decodes with Qt's image plugins (JPEG and PNG always; WebP and HEIC only where a plugin is
// installed). Large photos are decoded straight to a size that fits `bound`, keeping their
// aspect ratio, so that no more pixels are held than the screen can show.
class QtImageDecoder : public ImageDecoder {
public:
    explicit QtImageDecoder(QSize bound) : bound_(bound) {}

    ImageHandle decode(const std::filesystem::path& file) const override;

private:
    QSize bound_;
};

}  // namespace vesko
