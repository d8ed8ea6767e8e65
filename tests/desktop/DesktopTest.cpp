#include <QLocale>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include "tests/ui/WindowHarness.h"
#include "translations/Translations.h"
#include "ui/PhotoView.h"

namespace vesko {
namespace {

// Fine detail that any softening shows up in: random grey levels, one a pixel.
QImage noise(QSize size) {
    QImage image(size, QImage::Format_Grayscale8);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y) {
        random.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), size.width() / 4);
    }
    return image;
}

// The pane's picture as PhotoView paints it, on a canvas of `scale` pixels a point, then
// brought to two pixels a point.
QImage paneDrawnAt(const QImage& photo, const PhotoView& pane, qreal scale) {
    QImage canvas((pane.size() * scale).toSize(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    painter.drawImage(pane.photoRect(), photo);
    painter.end();
    return canvas.scaled((pane.size() * 2).toSize(), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
}

// The mean grey difference of two pictures of the same size.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            sum += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        }
    }
    return sum / (a.width() * a.height());
}

}  // namespace

// The window as a German desktop at two device pixels a point meets it.
class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QLocale().language(), QLocale::German);
        installTranslations(*qApp);
    }

    // Only that the German texts are loaded: translations_complete checks that each has one.
    // Words that have a German translation, and markup, must come through as they are.
    void germanTextsButFileNamesAsOnDisk() {
        WindowHarness window;
        QCOMPARE(window.text("yesButton"), QStringLiteral("Ja"));
        const QString name = QStringLiteral("Yes <b>No & Maybe – Ärger.JPG");
        const QString folder = window.makeFolder("Ausflug", {name});
        window.loadFolder(folder);
        QCOMPARE(window.text("title"), name);
    }

    // The photo is drawn from its own pixels at the screen's resolution, not enlarged from a
    // drawing at one pixel a point.
    void photoIsDrawnAtDevicePixels() {
        WindowHarness window;
        const QString folder = window.makeFolder("trip", {});
        const QImage photo = noise({1200, 900});
        QVERIFY(photo.save(folder + "/noise.png"));
        window.loadFolder(folder);
        auto* pane = qobject_cast<PhotoView*>(window.item("photoPane"));
        // Only the photo: the pane's rounded corners and the background around it do not count.
        const QRect inside((pane->photoRect().topLeft() * 2).toPoint(),
                           (pane->photoRect().size() * 2).toSize());
        const QImage drawn = window.window()->grabWindow().copy(
            inside.translated((pane->mapToScene({0, 0}) * 2).toPoint()));
        const double sharp = meanDifference(drawn, paneDrawnAt(photo, *pane, 2).copy(inside));
        const double soft = meanDifference(drawn, paneDrawnAt(photo, *pane, 1).copy(inside));
        qInfo("mean grey difference: %.1f to the sharp drawing, %.1f to the soft one", sharp, soft);
        QVERIFY2(sharp * 4 < soft, "the photo is drawn at half resolution and enlarged");
    }
};

}  // namespace vesko

QTEST_MAIN(vesko::DesktopTest)
#include "DesktopTest.moc"
