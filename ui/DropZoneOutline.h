#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QQuickPaintedItem>

namespace vesko {

// The dashed, rounded outline of the drop zone, stroked inside the item's bounds: 1.5 points
// wide, 6 points drawn and 6 left out, corner radius 8, antialiased. Painted once per size
// rather than drawn as a shape, whose antialiasing needs a multisampled layer that made the
// start screen's first frame several times as dear on a software GL.
class DropZoneOutline : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit DropZoneOutline(QQuickItem* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

signals:
    void colorChanged();

private:
    QColor color_ = Qt::gray;
};

}  // namespace vesko
