#include "StateTablesTest.h"

#include <QTest>

#include "WindowHarness.h"

namespace vesko {
namespace {

void expectStartScreen(WindowHarness& window) {
    QVERIFY(window.isShown("startScreen"));
    QVERIFY(!window.isShown("photoPane"));
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
    QCOMPARE(window.text("countLabel"), QStringLiteral("Select a folder to begin"));
    QVERIFY(!window.isEnabled("decisionRow"));
    QVERIFY(!window.isEnabled("backButton"));
    QVERIFY(!window.isEnabled("undoButton"));
    QVERIFY(!window.alertOpen());
}

const Qt::Key kDecisionKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Backspace,
                                 Qt::Key_Delete};

}  // namespace

void StateTablesTest::startScreenTakesNoDecision() {
    WindowHarness window;
    expectStartScreen(window);
    for (Qt::Key key : kDecisionKeys) window.press(key);
    QCOMPARE(window.chooser().timesShown, 0);
    expectStartScreen(window);
}

void StateTablesTest::decisions_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("subfolder");  // empty: the photo stays and comes back last
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "Selected";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "Selected";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "Discarded";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "Discarded";
    QTest::newRow("Space") << int(Qt::Key_Space) << 0 << "";
}

// Two decisions with the same key on a folder of three: each shows the next photo and counts.
void StateTablesTest::decisions() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, subfolder);
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "B c.JPG", "d.jpeg"});
    window.loadFolder(folder);
    QVERIFY(window.isShown("photoPane") && !window.isShown("startScreen"));
    QVERIFY(window.isEnabled("decisionRow") && window.isEnabled("backButton"));
    QVERIFY(!window.isEnabled("undoButton"));
    const QRectF photo = window.item("photoPane")->property("photoRect").toRectF();
    QCOMPARE(photo.width() / photo.height(), 160.0 / 120);
    // Each photo is drawn anew, though all have the same size.
    const auto drawn = [&] { return window.item("photoPane")->property("image").value<QImage>(); };
    QStringList seen{window.text("title")};
    for (int step = 1; step <= 2; ++step) {
        const qint64 before = drawn().cacheKey();
        window.press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(drawn().cacheKey() != before);
        QVERIFY(!seen.contains(window.text("title")));
        seen << window.text("title");
        const int decided = subfolder.isEmpty() ? 0 : step;
        QCOMPARE(window.text("countLabel"), QStringLiteral("%1/3").arg(decided));
        QCOMPARE(window.isEnabled("undoButton"), decided > 0);
    }
    if (!subfolder.isEmpty()) {
        seen.removeLast();
        seen.sort();
        QCOMPARE(window.filesIn(folder + "/" + subfolder), seen);
    }
    QCOMPARE(window.filesIn(folder).size(), subfolder.isEmpty() ? 3 : 1);
}

void StateTablesTest::undoPutsThePhotoBackAndBackLeavesTheRest() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg"});
    window.loadFolder(folder);
    const QString first = window.text("title");
    window.press(Qt::Key_Backspace);
    window.click("undoButton");
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{});
    QCOMPARE(window.filesIn(folder).size(), 2);
    QCOMPARE(window.text("title"), first);
    QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
    QVERIFY(!window.isEnabled("undoButton"));

    window.press(Qt::Key_Return);
    window.click("backButton");
    expectStartScreen(window);
    QCOMPARE(window.filesIn(folder), QStringList{first == "a.jpg" ? "b.jpg" : "a.jpg"});
}

// A file that gives no picture must not trap the user: it is answered like any photo.
void StateTablesTest::undecodableHeadShowsAPlaceholderAndCanBeAnswered() {
    WindowHarness window;
    const QString folder = window.makeFolder("odd", {"broken.jpg"});
    window.loadFolder(folder);
    QCOMPARE(window.text("title"), QStringLiteral("broken.jpg"));
    QVERIFY(!window.isShown("photoPane") && window.isShown("placeholder"));
    QCOMPARE(window.text("placeholderReason"), QStringLiteral("It is not an image that Vesko reads."));
    QVERIFY(window.isEnabled("decisionRow"));
    window.press(Qt::Key_Space);
    QCOMPARE(window.text("title"), QStringLiteral("broken.jpg"));
    window.press(Qt::Key_Backspace);
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{"broken.jpg"});
    QVERIFY(!window.isShown("placeholder"));
    QVERIFY(window.alertOpen());
}

// A Yes that cannot move its photo keeps it current and says why until the next key.
void StateTablesTest::failedMoveShowsANoticeUntilTheNextKey() {
    WindowHarness window;
    const QString folder = window.makeFolder("clash", {"a.jpg"});
    QVERIFY(QDir(folder).mkdir("Selected"));
    QVERIFY(QFile::copy(folder + "/a.jpg", folder + "/Selected/a.jpg"));
    window.loadFolder(folder);
    QVERIFY(!window.isShown("notice"));
    window.press(Qt::Key_Return);
    QCOMPARE(window.text("title"), QStringLiteral("a.jpg"));
    QCOMPARE(window.text("countLabel"), QStringLiteral("0/1"));
    QVERIFY(!window.isEnabled("undoButton"));
    QVERIFY(window.isShown("notice"));
    QCOMPARE(window.item("notice")->property("text").toString(),
             QStringLiteral("“a.jpg” was not moved: “Selected” already holds a file of that name."));
    window.press(Qt::Key_Backspace);
    QVERIFY(!window.isShown("notice"));
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{"a.jpg"});
}

void StateTablesTest::doneIsShownUntilDismissed_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("closeWith");
    QTest::newRow("last photo, OK") << QStringList{"only.png"} << "okButton";
    QTest::newRow("last of two, Return") << QStringList{"a.jpg", "b.jpg"} << "Return";
    QTest::newRow("no photos, Escape") << QStringList{} << "Escape";
}

// Keys and Undo do nothing under "Done!"; the key that closes it decides and undoes nothing.
void StateTablesTest::doneIsShownUntilDismissed() {
    QFETCH(QStringList, files);
    QFETCH(QString, closeWith);
    WindowHarness window;
    const QString folder = window.makeFolder("trip", files);
    window.loadFolder(folder);
    for (int i = 0; i < files.size(); ++i) window.press(Qt::Key_Return);
    QVERIFY(window.alertOpen());
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
    QVERIFY(!window.isShown("photoPane") && !window.isShown("startScreen"));
    QVERIFY(!window.isEnabled("decisionRow"));
    QCOMPARE(window.desktop().shown.size(), std::size_t{1});
    QCOMPARE(window.isEnabled("undoButton"), !files.isEmpty());
    if (!files.isEmpty()) {
        QCOMPARE(window.text("countLabel"), QStringLiteral("%1/%1").arg(files.size()));
        window.click("undoButton");
        window.press(Qt::Key_Space);
        QVERIFY(window.alertOpen());
    }

    if (closeWith == "okButton") {
        window.click("okButton");
    } else {
        window.press(closeWith == "Return" ? Qt::Key_Return : Qt::Key_Escape);
    }
    QTRY_VERIFY(!window.alertOpen());
    expectStartScreen(window);
    QVERIFY(!window.viewModel()->showFinished());
    files.sort();
    QCOMPARE(window.filesIn(folder + "/Selected"), files);
    QCOMPARE(window.chooser().timesShown, 1);
}

}  // namespace vesko
