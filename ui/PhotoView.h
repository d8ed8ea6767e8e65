#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <optional>

#include "RegionLoader.h"

namespace vesko {

// Shows a photo fitted into the item by its aspect ratio, centred, scaled up or down with
// smooth filtering, and cut to the item's rounded corners where the photo reaches them.
// Zoomed, it shows the photo at actual pixels (one image pixel per device pixel) around a point
// that a drag moves: sharp where the loader has full-resolution pixels, the fitted image
// enlarged elsewhere. The zoom stays on across photos, at the same relative point.
class PhotoView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(
        qreal cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    // The colour behind the view, which its rounded corners take; transparent: square corners.
    Q_PROPERTY(QColor cornerColor READ cornerColor WRITE setCornerColor NOTIFY cornerColorChanged)
    // Where the fitted photo lands inside the item; empty without a photo.
    Q_PROPERTY(QRectF photoRect READ photoRect NOTIFY photoRectChanged)
    Q_PROPERTY(bool zoomed READ zoomed NOTIFY zoomedChanged)
    // The full-resolution pixels; without a loader the fitted image stands for them.
    Q_PROPERTY(RegionLoader* loader READ loader WRITE setLoader NOTIFY loaderChanged)
    // The file the picture comes from, whose full-resolution pixels the loader gives; empty for
    // the loader's current photo.
    Q_PROPERTY(QString photoPath READ photoPath WRITE setPhotoPath NOTIFY photoPathChanged)
    // The folder the photos come from: another one, or none, ends the zoom.
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)

public:
    explicit PhotoView(QQuickItem* parent = nullptr);
    ~PhotoView() override;

    QImage image() const { return image_; }
    void setImage(const QImage& image);
    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal radius);
    QColor cornerColor() const { return cornerColor_; }
    void setCornerColor(const QColor& colour);
    QRectF photoRect() const;
    bool zoomed() const { return zoomed_; }
    RegionLoader* loader() const { return loader_; }
    void setLoader(RegionLoader* loader);
    QString photoPath() const { return photoPath_; }
    void setPhotoPath(const QString& path);
    QString folder() const { return folder_; }
    void setFolder(const QString& folder);

    // Zooms in around the photo's point under the pointer (its centre when the pointer is not
    // over it), or back out. A view without a picture stays as it is.
    Q_INVOKABLE void toggleZoom();
    Q_INVOKABLE void resetZoom();
    // Moves the zoomed view by `delta` item pixels, stopping at the image's edges.
    Q_INVOKABLE void pan(QPointF delta);
    // Zooms in around a point of the photo, 0 to 1 across it; nothing without a picture.
    Q_INVOKABLE void zoomAtRelative(QPointF relative);
    // The point of the photo shown at the view's centre, 0 to 1 across it.
    Q_INVOKABLE QPointF relativeCentre() const;
    // Whether the pointer rests over the photo, where toggleZoom() would zoom.
    Q_INVOKABLE bool pointerOverPhoto() const;
    // The full-resolution point shown at the item's centre while zoomed.
    QPointF zoomCentre() const { return centre_; }
    QSizeF fullSize() const;
    // Whether full-resolution pixels fill the zoomed view.
    bool sharp() const;

signals:
    // A drag moved the zoomed view by `delta` item pixels; `alone` while Shift was held.
    void dragged(QPointF delta, bool alone);
    void imageChanged();
    void cornerRadiusChanged();
    void cornerColorChanged();
    void photoRectChanged();
    void zoomedChanged();
    void loaderChanged();
    void photoPathChanged();
    void folderChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void hoverMoveEvent(QHoverEvent* event) override;
    void hoverLeaveEvent(QHoverEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void zoomAt(QPointF itemPoint);
    void startZoom(QPointF relative);
    void setCentre(QPointF centre);
    // The point at the view's centre, 0 to 1 across the upright image.
    // Unless `always`, only when the view reaches beyond what was asked for.
    void requestPixels(bool always = false);
    void takeLoaded(const QString& photo);
    qreal devicePixelRatio() const;
    // The part of the full-resolution image in view, in its pixels.
    QRectF visibleRegion() const;

    QImage image_;
    qreal cornerRadius_ = 8;
    QColor cornerColor_ = Qt::transparent;
    bool zoomed_ = false;
    QPointF centre_;
    // Where the zoom was asked for while the full size was not yet known. The centre can only be
    // clamped against the full size: clamped against the fitted image and scaled up, a point near
    // an edge would land far from it.
    std::optional<QPointF> wanted_;
    QSize fullSize_;  // known from the loader; empty until then
    QString photoPath_;
    QString photo_;  // whose full-resolution pixels are shown while zoomed
    QRect sharpRegion_;
    QImage sharp_;
    // The region last asked for, or answered, even without pixels: not asked for again.
    QRect requested_;
    QPointer<RegionLoader> loader_;
    QString folder_;
    std::optional<QPointF> pointer_;
    QPointF pressedAt_;
    QPointF lastDragAt_;
    bool dragged_ = false;
};

// The largest rectangle of `imageSize`'s aspect ratio that fits `bounds`, centred in it.
QRectF aspectFitRect(QSizeF imageSize, const QRectF& bounds);

}  // namespace vesko
