#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QQuickPaintedItem>
#include <QSvgRenderer>
#include <QUrl>

namespace vesko {

// A one-colour symbol: the SVG at `source`, fitted into the item, painted in `color` wherever
// the drawing is not transparent.
class SymbolIcon : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit SymbolIcon(QQuickItem* parent = nullptr);

    QUrl source() const { return source_; }
    void setSource(const QUrl& source);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

signals:
    void sourceChanged();
    void colorChanged();

private:
    QUrl source_;
    QColor color_ = Qt::black;
    QSvgRenderer renderer_;
};

}  // namespace vesko
