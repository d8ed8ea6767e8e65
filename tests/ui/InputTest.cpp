#include "InputTest.h"

#include <QSignalSpy>
#include <QTest>

#include "WindowHarness.h"

namespace vesko {

void InputTest::keysDoNothingOnTheStartScreen() {
    WindowHarness window;
    for (Qt::Key key :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete}) {
        window.press(key);
    }
    QCOMPARE(window.chooser().timesShown, 0);
    QVERIFY(window.isShown("startScreen"));
    QVERIFY(window.viewModel()->folderName().isEmpty());
}

void InputTest::eachDecisionKeyMovesThePhoto_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("subfolder");
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "Selected";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "Selected";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "Discarded";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "Discarded";
}

void InputTest::eachDecisionKeyMovesThePhoto() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, subfolder);
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg"});
    window.loadFolder(folder);
    const QString first = window.text("title");
    window.press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window.filesIn(folder + "/" + subfolder), QStringList{first});
    QCOMPARE(window.text("countLabel"), QStringLiteral("1/2"));
}

void InputTest::returnNeverUndoes() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg", "c.jpg"});
    window.loadFolder(folder);
    window.press(Qt::Key_Return);
    QVERIFY(window.isEnabled("undoButton"));
    window.press(Qt::Key_Return);
    QCOMPARE(window.filesIn(folder + "/Selected").size(), 2);
    QCOMPARE(window.text("countLabel"), QStringLiteral("2/3"));
}

void InputTest::keysDoNothingUnderTheAlert() {
    WindowHarness window;
    const QString folder = window.makeFolder("one", {"only.jpg"});
    window.loadFolder(folder);
    window.press(Qt::Key_Backspace);
    QVERIFY(window.alertOpen());
    // Undo is enabled behind the alert, but the alert is modal.
    QVERIFY(window.isEnabled("undoButton"));
    window.click("undoButton");
    window.press(Qt::Key_Space);
    QVERIFY(window.alertOpen());
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{"only.jpg"});
    QCOMPARE(window.chooser().timesShown, 1);
}

void InputTest::alertClosesWithReturnAndEscape_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void InputTest::alertClosesWithReturnAndEscape() {
    QFETCH(int, key);
    WindowHarness window;
    const QString folder = window.makeFolder("two", {"a.jpg", "b.jpg"});
    window.loadFolder(folder);
    window.press(Qt::Key_Return);
    window.press(Qt::Key_Return);
    QVERIFY(window.alertOpen());
    window.press(Qt::Key(key));
    QTRY_VERIFY(!window.alertOpen());
    QVERIFY(window.isShown("startScreen"));
    QVERIFY(!window.isEnabled("undoButton"));
    // The key that closed the alert decided nothing more, and nothing was undone.
    QCOMPARE(window.filesIn(folder + "/Selected").size(), 2);
}

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

void InputTest::droppedFolderIsLoaded() {
    WindowHarness window;
    const QString folder = window.makeFolder("My Photos", {"a.jpg"});
    QVERIFY(window.drop({QUrl::fromLocalFile(folder)}));
    QTRY_COMPARE(window.text("title"), QStringLiteral("a.jpg"));
    QCOMPARE(window.viewModel()->folderName(), QStringLiteral("My Photos"));

    // With a folder loaded the window takes no drops.
    const QString other = window.makeFolder("other", {"b.jpg"});
    QVERIFY(!window.drop({QUrl::fromLocalFile(other)}));
    QTest::qWait(100);
    QCOMPARE(window.viewModel()->folderName(), QStringLiteral("My Photos"));
}

void InputTest::droppedFileIsIgnoredButAccepted() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg"});
    QVERIFY(window.drop({QUrl::fromLocalFile(folder + "/a.jpg")}));
    QTest::qWait(100);
    QVERIFY(window.isShown("startScreen"));
    QCOMPARE(window.filesIn(folder), QStringList{"a.jpg"});
}

void InputTest::onlyTheFirstOfTwoDroppedFoldersCounts() {
    WindowHarness window;
    const QString first = window.makeFolder("first", {"one.jpg"});
    const QString second = window.makeFolder("second", {"two.jpg"});
    QVERIFY(window.drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
    QTRY_COMPARE(window.text("title"), QStringLiteral("one.jpg"));
    QTest::qWait(100);
    QCOMPARE(window.viewModel()->folderName(), QStringLiteral("first"));
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
