#include "SymbolIcon.h"

#include <QImage>
#include <QPainter>
#include <QQmlFile>
#include <QQuickWindow>

namespace vesko {

SymbolIcon::SymbolIcon(QQuickItem* parent) : QQuickPaintedItem(parent) { setAntialiasing(true); }

void SymbolIcon::setSource(const QUrl& source) {
    if (source == source_) {
        return;
    }
    source_ = source;
    renderer_.load(QQmlFile::urlToLocalFileOrQrc(source));
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
    emit sourceChanged();
    update();
}

void SymbolIcon::setColor(const QColor& color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    emit colorChanged();
    update();
}

void SymbolIcon::paint(QPainter* painter) {
    if (!renderer_.isValid() || width() <= 0 || height() <= 0) {
        return;
    }
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage mask((size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(ratio);
    mask.fill(Qt::transparent);
    {
        QPainter shape(&mask);
        shape.setRenderHint(QPainter::Antialiasing);
        renderer_.render(&shape, QRectF(QPointF(), size()));
        shape.setCompositionMode(QPainter::CompositionMode_SourceIn);
        shape.fillRect(QRectF(QPointF(), size()), color_);
    }
    painter->drawImage(QPointF(), mask);
}

}  // namespace vesko
