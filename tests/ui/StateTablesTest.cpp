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
    QCOMPARE(window.item("progressBar")->opacity(), 0.4);
    QVERIFY(!window.isEnabled("decisionRow"));
    QVERIFY(!window.isEnabled("backButton"));
    QVERIFY(!window.isEnabled("undoButton"));
    QVERIFY(!window.alertOpen());
}

}  // namespace

void StateTablesTest::launchShowsTheStartScreen() {
    WindowHarness window;
    expectStartScreen(window);
    for (const char* button : {"noButton", "maybeButton", "yesButton"}) {
        QVERIFY(!window.isEnabled(button));
    }
}

void StateTablesTest::photoShownThenYesThenMaybe() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "B c.JPG"});
    window.loadFolder(folder);
    const QString first = window.text("title");
    QVERIFY(first == "a.jpg" || first == "B c.JPG");
    const QString second = first == "a.jpg" ? "B c.JPG" : "a.jpg";
    QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
    QCOMPARE(window.item("progressBar")->opacity(), 1.0);
    QVERIFY(window.isShown("photoPane") && !window.isShown("startScreen"));
    QVERIFY(window.isEnabled("decisionRow") && window.isEnabled("backButton"));
    QVERIFY(!window.isEnabled("undoButton"));

    window.press(Qt::Key_Return);
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{first});
    QCOMPARE(window.text("title"), second);
    QCOMPARE(window.text("countLabel"), QStringLiteral("1/2"));
    QCOMPARE(window.item("progressBar")->property("position").toDouble(), 0.5);
    QVERIFY(window.isEnabled("undoButton"));

    window.press(Qt::Key_Space);
    QCOMPARE(window.text("title"), second);
    QCOMPARE(window.text("countLabel"), QStringLiteral("1/2"));
    QVERIFY(!window.isEnabled("undoButton"));
}

void StateTablesTest::undoPutsThePhotoBackAndBackLeavesTheRest() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg"});
    window.loadFolder(folder);
    const QString first = window.text("title");
    window.press(Qt::Key_Backspace);
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{first});

    window.click("undoButton");
    QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{});
    QCOMPARE(window.filesIn(folder).size(), 2);
    QCOMPARE(window.text("title"), first);
    QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
    QVERIFY(!window.isEnabled("undoButton"));

    // Back in the middle leaves the decisions made so far where they are.
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

void StateTablesTest::finishedShowsTheAlertUntilOk() {
    WindowHarness window;
    const QString folder = window.makeFolder("one", {"only.png"});
    window.loadFolder(folder);
    window.press(Qt::Key_Return);
    QVERIFY(window.alertOpen());
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
    QCOMPARE(window.text("countLabel"), QStringLiteral("1/1"));
    QCOMPARE(window.item("progressBar")->property("position").toDouble(), 1.0);
    QVERIFY(!window.isShown("photoPane"));
    QVERIFY(!window.isEnabled("decisionRow"));
    QVERIFY(window.isEnabled("backButton") && window.isEnabled("undoButton"));
    QCOMPARE(window.desktop().shown.size(), std::size_t{1});

    window.click("okButton");
    QTRY_VERIFY(!window.alertOpen());
    expectStartScreen(window);
    QVERIFY(!window.viewModel()->showFinished());
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{"only.png"});
}

void StateTablesTest::folderWithoutPhotosFinishesAtOnce() {
    WindowHarness window;
    const QString folder = window.makeFolder("empty", {});
    window.loadFolder(folder);
    QVERIFY(window.alertOpen());
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
    QCOMPARE(window.text("countLabel"), QStringLiteral("Select a folder to begin"));
    QCOMPARE(window.item("progressBar")->opacity(), 0.4);
    QVERIFY(!window.isShown("startScreen") && !window.isShown("photoPane"));

    window.press(Qt::Key_Escape);
    QTRY_VERIFY(!window.alertOpen());
    expectStartScreen(window);
}

}  // namespace vesko
