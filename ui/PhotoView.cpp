#include "PhotoView.h"

#include "PhotoNode.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

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

PhotoView::PhotoView(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents);
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptHoverEvents(true);
}

PhotoView::~PhotoView() {
    if (loader_) loader_->release(this);
}

void PhotoView::setImage(const QImage& image) {
    // A new photo is always a new image, even when its pixels happen to be equal.
    if (image.cacheKey() == image_.cacheKey()) {
        return;
    }
    const QPointF relative = relativeCentre();
    image_ = image;
    if (zoomed_ && image_.isNull()) {
        resetZoom();
    } else if (zoomed_) {
        // The next photo of a burst: the same relative point, at its own full size.
        startZoom(relative);
    }
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

void PhotoView::setCornerColor(const QColor& colour) {
    if (colour == cornerColor_) return;
    cornerColor_ = colour;
    emit cornerColorChanged();
    update();
}

void PhotoView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        emit photoRectChanged();
        if (zoomed_) {
            setCentre(centre_);
            requestPixels();
        }
        update();
    }
}

void PhotoView::setLoader(RegionLoader* loader) {
    if (loader == loader_) return;
    if (loader_) {
        disconnect(loader_, nullptr, this, nullptr);
        loader_->release(this);
    }
    loader_ = loader;
    if (loader_) connect(loader_, &RegionLoader::loaded, this, &PhotoView::takeLoaded);
    emit loaderChanged();
}

// The path may change just after or just before the picture does: either way the zoom follows.
void PhotoView::setPhotoPath(const QString& path) {
    if (path == photoPath_) return;
    photoPath_ = path;
    if (zoomed_) startZoom(relativeCentre());
    emit photoPathChanged();
}

void PhotoView::setFolder(const QString& folder) {
    if (folder == folder_) return;
    folder_ = folder;
    resetZoom();
    emit folderChanged();
}

QSizeF PhotoView::fullSize() const { return fullSize_.isEmpty() ? image_.size() : fullSize_; }

qreal PhotoView::devicePixelRatio() const {
    return window() ? window()->effectiveDevicePixelRatio() : 1.0;
}

QRectF PhotoView::visibleRegion() const {
    const QSizeF view = size() * devicePixelRatio();
    return {centre_ - QPointF(view.width() / 2, view.height() / 2), view};
}

bool PhotoView::sharp() const {
    const QRect view = visibleRegion().toAlignedRect() & QRect(QPoint(), fullSize().toSize());
    return zoomed_ && !sharp_.isNull() && sharpRegion_.contains(view);
}

void PhotoView::toggleZoom() {
    if (zoomed_) {
        resetZoom();
        return;
    }
    const QRectF photo = photoRect();
    zoomAt(pointer_ && photo.contains(*pointer_) ? *pointer_ : photo.center());
}

void PhotoView::zoomAt(QPointF itemPoint) {
    const QRectF photo = photoRect();
    if (image_.isNull() || photo.isEmpty()) return;
    const QPointF offset = itemPoint - photo.topLeft();
    startZoom({offset.x() / photo.width(), offset.y() / photo.height()});
    emit zoomedChanged();
}

void PhotoView::zoomAtRelative(QPointF relative) {
    if (image_.isNull() || zoomed_) return;
    startZoom(relative);
    emit zoomedChanged();
}

bool PhotoView::pointerOverPhoto() const { return pointer_ && photoRect().contains(*pointer_); }

void PhotoView::startZoom(QPointF relative) {
    zoomed_ = true;
    photo_ = !loader_ ? QString() : photoPath_.isEmpty() ? loader_->currentPhoto() : photoPath_;
    fullSize_ = loader_ ? loader_->knownSize(photo_) : QSize();
    wanted_ = loader_ && fullSize_.isEmpty() ? std::optional(relative) : std::nullopt;
    sharp_ = {};
    sharpRegion_ = {};
    requested_ = {};
    const QSizeF full = fullSize();
    setCentre({relative.x() * full.width(), relative.y() * full.height()});
    takeLoaded(photo_);
    // Also when the photo is sharp already (prepared ahead): the one after it is due now.
    requestPixels(true);
    update();
}

void PhotoView::resetZoom() {
    if (!zoomed_) return;
    zoomed_ = false;
    wanted_.reset();
    sharp_ = {};
    sharpRegion_ = {};
    fullSize_ = {};
    photo_.clear();
    if (loader_) loader_->release(this);
    emit zoomedChanged();
    update();
}

void PhotoView::pan(QPointF delta) {
    if (!zoomed_) return;
    wanted_.reset();
    setCentre(centre_ - delta * devicePixelRatio());
    requestPixels();
    update();
}

// Keeps the view inside the image (centred on an axis the image does not fill), with its left
// and top edges on whole image pixels so that each lands on one device pixel.
void PhotoView::setCentre(QPointF centre) {
    const QSizeF view = size() * devicePixelRatio();
    const QSizeF full = fullSize();
    const auto clampAxis = [](qreal at, qreal viewLength, qreal fullLength) {
        if (fullLength <= viewLength) return fullLength / 2;
        const qreal start = std::clamp(at - viewLength / 2, 0.0, fullLength - viewLength);
        return std::round(start) + viewLength / 2;
    };
    centre_ = {clampAxis(centre.x(), view.width(), full.width()),
               clampAxis(centre.y(), view.height(), full.height())};
}

QPointF PhotoView::relativeCentre() const {
    const QSizeF full = fullSize();
    if (wanted_ || full.isEmpty()) return wanted_.value_or(QPointF(0.5, 0.5));
    return {centre_.x() / full.width(), centre_.y() / full.height()};
}

// Asks for the view and half a view around it, unless that part was asked for already.
void PhotoView::requestPixels(bool always) {
    if (!zoomed_ || !loader_ || photo_.isEmpty()) return;
    const QRect view = visibleRegion().toAlignedRect();
    const QRect visible = view & QRect(QPoint(), fullSize().toSize());
    if (!always && !requested_.isEmpty() && requested_.contains(visible)) return;
    // The view's whole device pixels, and one more on each side for a centre between pixels.
    const QSize span = (view.size() + QSize(2, 2)) * 2;
    requested_ = QRect(QPoint(), span);
    requested_.moveCenter(centre_.toPoint());
    loader_->load(this, photo_, relativeCentre(), span);
}

void PhotoView::takeLoaded(const QString& photo) {
    if (!zoomed_ || !loader_ || photo.isEmpty() || photo != photo_) return;
    const QSize known = loader_->knownSize(photo);
    if (known.isEmpty()) return;
    if (known != fullSize().toSize()) {
        const QPointF relative = relativeCentre();
        fullSize_ = known;
        setCentre({relative.x() * known.width(), relative.y() * known.height()});
    }
    wanted_.reset();
    const auto [region, pixels] = loader_->knownRegion(photo);
    if (!region.isEmpty()) requested_ = region;
    if (!pixels.isNull()) {
        sharpRegion_ = region;
        sharp_ = pixels;
    }
    requestPixels();
    update();
}

void PhotoView::hoverMoveEvent(QHoverEvent* event) { pointer_ = event->position(); }

void PhotoView::hoverLeaveEvent(QHoverEvent*) { pointer_.reset(); }

void PhotoView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = lastDragAt_ = event->position();
    dragged_ = false;
    event->accept();
}

void PhotoView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    pointer_ = at;
    if ((at - pressedAt_).manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
        dragged_ = true;
    }
    if (dragged_ && zoomed_) {
        pan(at - lastDragAt_);
        emit dragged(at - lastDragAt_, event->modifiers().testFlag(Qt::ShiftModifier));
    }
    lastDragAt_ = at;
}

void PhotoView::mouseReleaseEvent(QMouseEvent* event) {
    pointer_ = event->position();
    if (dragged_) return;
    if (zoomed_) {
        resetZoom();
    } else if (photoRect().contains(event->position())) {
        zoomAt(event->position());
    }
}

QSGNode* PhotoView::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
    const QRectF bounds = boundingRect();
    if (image_.isNull() || bounds.isEmpty() || !window()) {
        delete old;
        return nullptr;
    }
    auto* node = old ? static_cast<PhotoNode*>(old) : new PhotoNode(window());
    node->setPhoto(image_);
    node->setSharp(zoomed_ ? sharp_ : QImage());
    const qreal radius = cornerRadius_;
    if (zoomed_) {
        const qreal scale = 1 / devicePixelRatio();
        const QPointF origin = bounds.center() - centre_ * scale;
        node->place(QRectF(origin, fullSize() * scale),
                    QRectF(origin + QPointF(sharpRegion_.topLeft()) * scale,
                           QSizeF(sharpRegion_.size()) * scale),
                    bounds);
        node->roundCorners(bounds, radius, cornerColor_, devicePixelRatio(),
                           {true, true, true, true});
        return node;
    }
    const QRectF photo = photoRect();
    node->place(photo, {}, bounds);
    // The rounded corners only matter where the photo reaches into them.
    const QRectF inner = bounds.adjusted(radius, radius, -radius, -radius);
    const bool left = photo.left() < inner.left(), top = photo.top() < inner.top();
    const bool right = photo.right() > inner.right(), bottom = photo.bottom() > inner.bottom();
    node->roundCorners(bounds, radius, cornerColor_, devicePixelRatio(),
                       {left && top, right && top, right && bottom, left && bottom});
    return node;
}

}  // namespace vesko
