#include "PhotoViewTest.h"

#include <QPainter>
#include <QTest>

#include "WindowHarness.h"
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

// The zoomed view's state as the keys, the mouse and the answers move it. The window has no
// region decoder here: the decoded photo stands for the full-resolution one.
void PhotoViewTest::zoomPansWithinTheImageAndLastsAcrossAnswers() {
    WindowHarness window;
    window.loadFolder(window.makeFolder("burst", {"a.jpg", "b.jpg", "c.jpg"}, {2400, 1600}));
    auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
    QVERIFY(view && !view->image().isNull());
    const qreal ratio = window.window()->effectiveDevicePixelRatio();
    const QSizeF full = view->fullSize();
    const QSizeF shown = view->size() * ratio;
    QVERIFY(full.width() > shown.width() && full.height() > shown.height());
    const QPointF topLeftMost(shown.width() / 2, shown.height() / 2);
    const QPointF bottomRightMost = QPointF(full.width(), full.height()) - topLeftMost;

    window.press(Qt::Key_Z);
    QVERIFY(view->zoomed());
    QVERIFY(window.isShown("zoomBadge"));
    view->pan({1e5, 1e5});
    QCOMPARE(view->zoomCentre(), topLeftMost);
    view->pan({-1e5, -1e5});
    QCOMPARE(view->zoomCentre(), bottomRightMost);

    // A drag pans and keeps the zoom; a click without a move toggles it.
    const QPointF middle = view->mapToScene({view->width() / 2, view->height() / 2});
    QTest::mousePress(window.window(), Qt::LeftButton, {}, middle.toPoint());
    QTest::mouseMove(window.window(), (middle + QPointF(40, 30)).toPoint());
    QTest::mouseRelease(window.window(), Qt::LeftButton, {}, (middle + QPointF(40, 30)).toPoint());
    QVERIFY(view->zoomed());
    QCOMPARE(view->zoomCentre(), bottomRightMost - QPointF(40, 30) * ratio);

    window.press(Qt::Key_Return);  // an answer: the next photo, zoomed at the same point
    QTRY_COMPARE(window.viewModel()->progress(), 1);
    QVERIFY(view->zoomed());
    QCOMPARE(view->zoomCentre(), bottomRightMost - QPointF(40, 30) * ratio);

    window.press(Qt::Key_Escape);
    QVERIFY(!view->zoomed());
    window.clickAt(middle);
    QVERIFY(view->zoomed());
    window.click("backButton");
    QVERIFY(!view->zoomed());
}

}  // namespace vesko
