#include "ImageHandleImage.h"

namespace vesko {

QImage imageFromHandle(const ImageHandle& handle) {
    if (!handle || handle->width() <= 0 || handle->height() <= 0) {
        return {};
    }
    auto* keeper = new ImageHandle(handle);
    return QImage(
        handle->bits(), handle->width(), handle->height(),
        static_cast<qsizetype>(handle->bytesPerLine()),
        handle->hasAlpha() ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888,
        [](void* kept) { delete static_cast<ImageHandle*>(kept); }, keeper);
}

}  // namespace vesko
