#include "HiDpiTest.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include "tests/ui/WindowHarness.h"

namespace vesko {
namespace {

// Fine detail that any softening shows up in: random grey levels, one a pixel.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grey = random.bounded(256);
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return image;
}

// The pane's picture as PhotoView paints it, on a canvas of `scale` pixels a point, then
// brought to two pixels a point.
QImage paneDrawnAt(const QImage& photo, QSizeF pane, const QRectF& photoRect, qreal scale) {
    QImage canvas((pane * scale).toSize(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    painter.drawImage(photoRect, photo);
    painter.end();
    return canvas.scaled((pane * 2).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The mean grey difference of the two pictures, at the best of a few pixels' shift: where
// exactly the photo lands depends on rounding.
double meanDifference(const QImage& a, const QImage& b) {
    const int margin = 3;
    const int width = qMin(a.width(), b.width()) - 2 * margin;
    const int height = qMin(a.height(), b.height()) - 2 * margin;
    double best = 255;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            double sum = 0;
            for (int y = margin; y < margin + height; y += 2) {
                for (int x = margin; x < margin + width; x += 2) {
                    sum += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x + dx, y + dy)));
                }
            }
            best = qMin(best, sum / ((width / 2) * (height / 2)));
        }
    }
    return best;
}

}  // namespace

void HiDpiTest::photoIsDrawnAtDevicePixels() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {});
    const QImage photo = noise(1200, 900);
    QVERIFY(photo.save(folder + "/noise.png"));
    window.loadFolder(folder);
    QQuickItem* pane = window.item("photoPane");
    const QRectF photoRect = pane->property("photoRect").toRectF();
    QVERIFY(!photoRect.isEmpty());
    const QRectF paneRect(pane->mapToScene(QPointF()), pane->size());

    const QImage shot = window.grab();
    const QImage drawn =
        shot.copy(QRect((paneRect.topLeft() * 2).toPoint(), (paneRect.size() * 2).toSize()));
    // Only the photo: the pane's rounded corners and the background around it do not count.
    const QRect inside((photoRect.topLeft() * 2).toPoint(), (photoRect.size() * 2).toSize());
    const double sharp = meanDifference(
        drawn.copy(inside), paneDrawnAt(photo, pane->size(), photoRect, 2).copy(inside));
    const double soft = meanDifference(drawn.copy(inside),
                                       paneDrawnAt(photo, pane->size(), photoRect, 1).copy(inside));
    qInfo("mean grey difference: %.1f to the sharp drawing, %.1f to the soft one", sharp, soft);
    QVERIFY2(sharp * 4 < soft, "the photo is drawn at half resolution and enlarged");
}

}  // namespace vesko
