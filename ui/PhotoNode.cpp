#include "PhotoNode.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <cmath>

namespace vesko {
namespace {

// Shows the part of `node`'s texture that `target` maps onto `bounds`, nothing when none.
void showInside(QSGImageNode* node, const QRectF& target, const QRectF& bounds) {
    if (!node) return;
    const QRectF shown = target & bounds;
    if (shown.isEmpty()) {
        node->setRect({});
        return;
    }
    const QSizeF texture = node->texture()->textureSize();
    const qreal x = texture.width() / target.width();
    const qreal y = texture.height() / target.height();
    node->setRect(shown);
    node->setSourceRect((shown.x() - target.x()) * x, (shown.y() - target.y()) * y,
                        shown.width() * x, shown.height() * y);
}

// A circle's outside in `colour`, its inside clear: each quarter rounds off one corner.
QImage cornerMask(int side, const QColor& colour) {
    QImage mask(side, side, QImage::Format_ARGB32_Premultiplied);
    mask.fill(colour);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(0, 0, side, side));
    return mask;
}

}  // namespace

PhotoNode::PhotoNode(QQuickWindow* window) : window_(window) {}

QSGImageNode* PhotoNode::imageNode(QSGImageNode*& node, const QImage& image, qint64& key,
                                   bool smooth) {
    if (image.isNull()) {
        if (node) {
            removeChildNode(node);
            delete node;  // and its texture
            node = nullptr;
        }
        key = 0;
        return nullptr;
    }
    if (!node) {
        node = window_->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(smooth ? QSGTexture::Linear : QSGTexture::Nearest);
        // A photo shrunk more than twice (a 4K picture in a pane) would alias under linear
        // filtering alone, showing moiré that is not in the photo.
        if (smooth) node->setMipmapFiltering(QSGTexture::Linear);
    }
    if (key != image.cacheKey()) {
        const auto options =
            smooth ? QQuickWindow::TextureHasMipmaps : QQuickWindow::CreateTextureOptions();
        node->setTexture(window_->createTextureFromImage(image, options));
        key = image.cacheKey();
    }
    return node;
}

void PhotoNode::setPhoto(const QImage& photo) {
    const bool added = !photo_ && !photo.isNull();
    imageNode(photo_, photo, photoKey_, true);
    if (added) prependChildNode(photo_);
}

void PhotoNode::setSharp(const QImage& sharp) {
    const bool added = !sharp_ && !sharp.isNull();
    imageNode(sharp_, sharp, sharpKey_, false);
    if (!added) return;
    if (photo_) {
        insertChildNodeAfter(sharp_, photo_);
    } else {
        prependChildNode(sharp_);
    }
}

void PhotoNode::place(const QRectF& photo, const QRectF& sharp, const QRectF& bounds) {
    showInside(photo_, photo, bounds);
    showInside(sharp_, sharp, bounds);
}

void PhotoNode::roundCorners(const QRectF& bounds, qreal radius, const QColor& colour,
                             qreal pixelRatio, std::array<bool, 4> which) {
    const int side = int(std::ceil(2 * radius * pixelRatio));
    if (side <= 0 || colour.alpha() == 0) which = {};
    if (side > 0 && (cornerMask_.width() != side || cornerColour_ != colour)) {
        cornerMask_ = cornerMask(side, colour);
        cornerColour_ = colour;
    }
    const QRectF quarter[4] = {{0, 0, radius, radius},
                               {bounds.width() - radius, 0, radius, radius},
                               {bounds.width() - radius, bounds.height() - radius, radius, radius},
                               {0, bounds.height() - radius, radius, radius}};
    const QPointF cut[4] = {{0, 0}, {0.5, 0}, {0.5, 0.5}, {0, 0.5}};
    for (std::size_t i = 0; i < 4; ++i) {
        QSGImageNode* node =
            imageNode(corners_[i], which[i] ? cornerMask_ : QImage(), cornerKeys_[i], true);
        if (!node) continue;
        if (!node->parent()) appendChildNode(node);
        const QSizeF texture = node->texture()->textureSize();
        node->setRect(quarter[i].translated(bounds.topLeft()));
        node->setSourceRect(cut[i].x() * texture.width(), cut[i].y() * texture.height(),
                            texture.width() / 2, texture.height() / 2);
    }
}

}  // namespace vesko
