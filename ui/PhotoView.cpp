#include "PhotoView.h"

#include <QPainter>
#include <QPainterPath>

namespace vesko {

QRectF aspectFitRect(QSizeF imageSize, const QRectF& bounds) {
    if (imageSize.isEmpty() || bounds.isEmpty()) {
        return {};
    }
    const QSizeF fitted = imageSize.scaled(bounds.size(), Qt::KeepAspectRatio);
    QRectF rect(QPointF(), fitted);
    rect.moveCenter(bounds.center());
    return rect;
}

PhotoView::PhotoView(QQuickItem* parent) : QQuickPaintedItem(parent) { setAntialiasing(true); }

void PhotoView::setImage(const QImage& image) {
    // A new photo is always a new image, even when its pixels happen to be equal.
    if (image.cacheKey() == image_.cacheKey()) {
        return;
    }
    image_ = image;
    emit imageChanged();
    emit photoRectChanged();
    update();
}

void PhotoView::setCornerRadius(qreal radius) {
    if (qFuzzyCompare(radius, cornerRadius_)) {
        return;
    }
    cornerRadius_ = radius;
    emit cornerRadiusChanged();
    update();
}

QRectF PhotoView::photoRect() const { return aspectFitRect(image_.size(), boundingRect()); }

void PhotoView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        emit photoRectChanged();
        update();
    }
}

void PhotoView::paint(QPainter* painter) {
    const QRectF target = photoRect();
    if (target.isEmpty()) {
        return;
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF inner =
        boundingRect().adjusted(cornerRadius_, cornerRadius_, -cornerRadius_, -cornerRadius_);
    // The rounded corners only matter where the photo reaches into them.
    const bool reachesCorner = (target.left() < inner.left() && target.top() < inner.top()) ||
                               (target.right() > inner.right() && target.bottom() > inner.bottom());
    if (!reachesCorner) {
        painter->drawImage(target, image_);
        return;
    }
    QPainterPath pane;
    pane.addRoundedRect(boundingRect(), cornerRadius_, cornerRadius_);
    QPainterPath photo;
    photo.addRect(target);
    QBrush brush(image_);
    brush.setTransform(
        QTransform::fromTranslate(target.left(), target.top())
            .scale(target.width() / image_.width(), target.height() / image_.height()));
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(pane.intersected(photo), brush);
}

}  // namespace vesko
