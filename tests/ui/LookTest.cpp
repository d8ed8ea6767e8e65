#include "LookTest.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>
#include <utility>

#include "WindowHarness.h"

namespace vesko {
namespace {

QRectF sceneRect(const QQuickItem* item) {
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

void resize(QQuickWindow* window, int width, int height) {
    window->resize(width, height);
    QTRY_COMPARE(window->width(), width);
    QTRY_COMPARE(window->height(), height);
}

bool closeTo(QColor actual, QColor expected) {
    return std::abs(actual.red() - expected.red()) <= 3 &&
           std::abs(actual.green() - expected.green()) <= 3 &&
           std::abs(actual.blue() - expected.blue()) <= 3;
}

// A point inside a decision button's coloured padding, away from its label and corners.
QPoint paddingPoint(const QQuickItem* button, qreal scale) {
    const QRectF rect = sceneRect(button);
    return QPointF((rect.left() + 8) * scale, rect.center().y() * scale).toPoint();
}

int darkestLevel(const QImage& image, const QRectF& area) {
    int darkest = 255;
    const QRect pixels = area.toAlignedRect().intersected(image.rect());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            darkest = std::min(darkest, std::max({colour.red(), colour.green(), colour.blue()}));
        }
    }
    return darkest;
}

QString screenshotPath(const QString& name) {
    const QString folder = qEnvironmentVariable("VESKO_SCREENSHOT_DIR", QStringLiteral("."));
    return QDir(folder).filePath(name);
}

}  // namespace

void LookTest::wideWindowCapsTheRowsAndCentresThem() {
    WindowHarness window;
    resize(window.window(), 1400, 900);
    for (const char* region : {"headerRow", "decisionRow", "progressArea"}) {
        QTRY_COMPARE(sceneRect(window.item(region)).width(), 900.0);
        QTRY_COMPARE(sceneRect(window.item(region)).left(), 250.0);
    }
    QCOMPARE(sceneRect(window.item("startScreen")).width(), 1400.0);
    window.loadFolder(window.makeFolder("trip", {"a.jpg"}));
    const QRectF pane = sceneRect(window.item("photoPane"));
    QCOMPARE(pane.left(), 16.0);
    QCOMPARE(pane.width(), 1400.0 - 32);
    // A 4:3 photo in a wide pane: full height, centred across.
    const QRectF photo = window.item("photoPane")->property("photoRect").toRectF();
    QCOMPARE(photo.height(), pane.height());
    QCOMPARE(photo.center().x(), pane.width() / 2);
    const qreal buttonWidth = (900.0 - 2 * 16 - 2 * 24) / 3;
    // Layouts place items on whole points.
    QVERIFY(qAbs(window.item("yesButton")->width() - buttonWidth) <= 1);
}

void LookTest::minimumSizeKeepsThreeEqualButtons() {
    WindowHarness window;
    QCOMPARE(window.window()->minimumSize(), QSize(700, 600));
    resize(window.window(), 700, 600);
    // Layouts place items on whole points.
    const qreal width = (700.0 - 2 * 16 - 2 * 24) / 3;
    QTRY_VERIFY(qAbs(window.item("noButton")->width() - width) <= 1);
    for (const char* button : {"maybeButton", "yesButton"}) {
        QVERIFY(qAbs(window.item(button)->width() - window.item("noButton")->width()) <= 1);
    }
}

void LookTest::screenshotsShowTheColours() {
    WindowHarness window;
    resize(window.window(), 1100, 800);
    QVERIFY(window.grab().save(screenshotPath("start.png")));

    window.loadFolder(window.makeFolder("trip", {"a.jpg", "b.jpg"}));
    const QImage photo = window.grab();
    QVERIFY(photo.save(screenshotPath("photo.png")));
    const qreal scale = photo.width() / qreal(window.window()->width());
    const std::pair<const char*, QColor> buttons[] = {
        {"noButton", QColor::fromRgbF(1.0f, 0.33f, 0.36f)},
        {"maybeButton", QColor::fromRgbF(1.0f, 0.85f, 0.25f)},
        {"yesButton", QColor::fromRgbF(0.33f, 0.8f, 0.35f)}};
    for (const auto& [button, colour] : buttons) {
        QVERIFY2(closeTo(photo.pixelColor(paddingPoint(window.item(button), scale)), colour),
                 button);
    }

    window.press(Qt::Key_Return);
    window.press(Qt::Key_Return);
    QVERIFY(window.alertOpen());
    QTest::qWait(300);  // the dimming fades in
    QVERIFY(window.grab().save(screenshotPath("done.png")));
}

void LookTest::decisionLabelsStayBlackInADarkPalette() {
    const QPalette original = QGuiApplication::palette();
    QPalette dark(QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    QGuiApplication::setPalette(dark);
    {
        WindowHarness window;
        window.loadFolder(window.makeFolder("trip", {"a.jpg"}));
        const QImage image = window.grab();
        image.save(screenshotPath("photo-dark.png"));
        const qreal scale = image.width() / qreal(window.window()->width());
        for (const char* button : {"noButton", "maybeButton", "yesButton"}) {
            const QRectF rect = sceneRect(window.item(button));
            const QRectF pixels(rect.topLeft() * scale, rect.size() * scale);
            QVERIFY2(darkestLevel(image, pixels) < 40, button);
        }
        // The title follows the palette: light on dark.
        const QRectF title = sceneRect(window.item("title"));
        QVERIFY(darkestLevel(image, QRectF(title.topLeft() * scale, title.size() * scale)) > 30);
    }
    QGuiApplication::setPalette(original);
}

}  // namespace vesko
