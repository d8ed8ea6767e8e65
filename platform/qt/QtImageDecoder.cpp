#include "QtImageDecoder.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cstring>

namespace vesko {
namespace {

ImageHandle toDecodedImage(const QImage& image) {
    const auto bytesPerLine = static_cast<std::size_t>(image.bytesPerLine());
    const auto* bits = image.constBits();
    std::vector<std::uint8_t> pixels(bits, bits + bytesPerLine * image.height());
    return std::make_shared<const DecodedImage>(image.width(), image.height(), bytesPerLine,
                                                std::move(pixels), image.hasAlphaChannel());
}

}  // namespace

ImageHandle QtImageDecoder::decode(const std::filesystem::path& file) const {
    const std::string& native = file.native();
    QImageReader reader(QFile::decodeName(QByteArray(native.data(), native.size())));
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid()) {
        if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
            size.transpose();
        }
        if (size.width() > bound_.width() || size.height() > bound_.height()) {
            QSize scaled = size.scaled(bound_, Qt::KeepAspectRatio);
            if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
                scaled.transpose();
            }
            reader.setScaledSize(scaled);
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return nullptr;
    }
    return toDecodedImage(image.convertToFormat(QImage::Format_RGBA8888_Premultiplied));
}

}  // namespace vesko
