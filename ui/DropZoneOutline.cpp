#include "DropZoneOutline.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace vesko {
namespace {

constexpr qreal kLineWidth = 1.5;
constexpr qreal kRadius = 8;
constexpr qreal kDash = 6;

}  // namespace

DropZoneOutline::DropZoneOutline(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void DropZoneOutline::setColor(const QColor& color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    emit colorChanged();
    update();
}

void DropZoneOutline::paint(QPainter* painter) {
    // The path runs along the middle of the stroke, so the stroke stays inside the bounds.
    const qreal inset = kLineWidth / 2;
    const QRectF rect = QRectF(QPointF(), size()).adjusted(inset, inset, -inset, -inset);
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    QPainterPath path;
    path.addRoundedRect(rect, kRadius - inset, kRadius - inset);
    QPen pen(color_, kLineWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    // In units of the line width.
    pen.setDashPattern({kDash / kLineWidth, kDash / kLineWidth});
    pen.setMiterLimit(10);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    painter->drawPath(path);
}

}  // namespace vesko
