#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QQuickPaintedItem>

namespace vesko {

// Draws a photo fitted into the item by its aspect ratio, centred, scaled up or down with
// smooth filtering, and cut to the item's rounded corners where the photo reaches them.
class PhotoView : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(
        qreal cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    // Where the photo lands inside the item; empty without a photo.
    Q_PROPERTY(QRectF photoRect READ photoRect NOTIFY photoRectChanged)

public:
    explicit PhotoView(QQuickItem* parent = nullptr);

    QImage image() const { return image_; }
    void setImage(const QImage& image);
    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal radius);
    QRectF photoRect() const;

    void paint(QPainter* painter) override;

signals:
    void imageChanged();
    void cornerRadiusChanged();
    void photoRectChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    QImage image_;
    qreal cornerRadius_ = 8;
};

// The largest rectangle of `imageSize`'s aspect ratio that fits `bounds`, centred in it.
QRectF aspectFitRect(QSizeF imageSize, const QRectF& bounds);

}  // namespace vesko
