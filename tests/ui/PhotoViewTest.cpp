#include "PhotoViewTest.h"

#include <QPainter>
#include <QTest>

#include "ui/PhotoView.h"

namespace vesko {
namespace {

QImage paintedPane(QSize pane, QSize photo) {
    PhotoView view;
    view.setSize(pane);
    QImage image(photo, QImage::Format_RGB32);
    image.fill(Qt::red);
    view.setImage(image);
    QImage canvas(pane, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    view.paint(&painter);
    return canvas;
}

}  // namespace

void PhotoViewTest::cornersCutOnlyWhereThePhotoReachesThem() {
    // Same aspect ratio as the pane: the photo reaches every corner, which is cut round.
    const QImage filled = paintedPane(QSize(200, 100), QSize(400, 200));
    QCOMPARE(qAlpha(filled.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(filled.pixel(199, 99)), 0);
    QCOMPARE(filled.pixelColor(100, 0), QColor(Qt::red));
    QCOMPARE(filled.pixelColor(0, 50), QColor(Qt::red));

    // A square photo in a wide pane keeps its own square corners.
    const QImage square = paintedPane(QSize(200, 100), QSize(50, 50));
    QCOMPARE(square.pixelColor(50, 0), QColor(Qt::red));
    QCOMPARE(square.pixelColor(149, 99), QColor(Qt::red));
    QCOMPARE(qAlpha(square.pixel(49, 50)), 0);
}

}  // namespace vesko
