#include "InputTest.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include "WindowHarness.h"

namespace vesko {

void InputTest::chooserOpensFromTheButtonAndTheStartScreen() {
    WindowHarness window;
    window.chooser().answer.reset();
    window.click("selectFolderButton");
    QCOMPARE(window.chooser().timesShown, 1);
    window.clickAt(QPointF(40, window.window()->height() / 2.0));
    QCOMPARE(window.chooser().timesShown, 2);
    // Cancelled both times: nothing changed.
    QVERIFY(window.isShown("startScreen"));
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
}

void InputTest::drops_data() {
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QString>("loaded");  // empty: the start screen stays
    QTest::newRow("folder") << QStringList{"My Photos"} << "My Photos";
    QTest::newRow("file") << QStringList{"My Photos/a.jpg"} << "";
    QTest::newRow("two folders") << QStringList{"second", "My Photos"} << "second";
}

// Every drop is accepted; only a folder loads, and then the window takes no more drops.
void InputTest::drops() {
    QFETCH(QStringList, dropped);
    QFETCH(QString, loaded);
    WindowHarness window;
    const QString root = QFileInfo(window.makeFolder("My Photos", {"a.jpg"})).path();
    window.makeFolder("second", {"b.jpg"});
    QList<QUrl> urls;
    for (const QString& path : dropped) urls << QUrl::fromLocalFile(root + "/" + path);
    QVERIFY(window.drop(urls));
    if (loaded.isEmpty()) {
        QTest::qWait(100);
        QVERIFY(window.isShown("startScreen"));
        QCOMPARE(window.filesIn(root + "/My Photos"), QStringList{"a.jpg"});
        return;
    }
    QTRY_COMPARE(window.viewModel()->folderName(), loaded);
    QVERIFY(!window.drop({QUrl::fromLocalFile(root + "/My Photos")}));
    QTest::qWait(100);
    QCOMPARE(window.viewModel()->folderName(), loaded);
}

// A decision assigns several fields; QML must hear of each change once, and only after
// the new values are readable.
void InputTest::changesArriveOnceAndAfterTheyAreStored() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg", "c.jpg"});
    window.loadFolder(folder);
    ViewModelBridge* viewModel = window.viewModel();
    QSignalSpy titles(viewModel, &ViewModelBridge::currentFileNameChanged);
    QSignalSpy images(viewModel, &ViewModelBridge::currentImageChanged);
    QString titleSeen;
    QObject::connect(viewModel, &ViewModelBridge::currentImageChanged, viewModel,
                     [&] { titleSeen = viewModel->currentFileName(); });
    window.press(Qt::Key_Return);
    QCOMPARE(titles.count(), 1);
    QCOMPARE(images.count(), 1);
    // The image signal goes out before the title's, yet the new title is already readable.
    QCOMPARE(titleSeen, window.text("title"));
    QCOMPARE(viewModel->progress(), 1);
}

}  // namespace vesko
