#include "AccessibilityTest.h"

#include <algorithm>

#include <QTest>

#include "AccessibleTree.h"
#include "tests/ui/WindowHarness.h"

namespace vesko {
namespace {

bool press(const QList<AccessibleNode>& tree, const QString& name) {
    const AccessibleNode* button = findNode(tree, QAccessible::Button, name);
    if (!button || !button->node->actionInterface()) {
        return false;
    }
    button->node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

}  // namespace

void AccessibilityTest::initTestCase() {
    // As when a screen reader is running; the offscreen platform has none to switch it on.
    QAccessible::setActive(true);
}

void AccessibilityTest::startScreenNamesEveryControl() {
    WindowHarness window;
    const QList<AccessibleNode> tree = accessibleTree(window.window());
    for (const char* name : {"Back", "Undo", "Select folder", "No", "Maybe", "Yes"}) {
        QVERIFY2(findNode(tree, QAccessible::Button, name), name);
    }
    QVERIFY(findNode(tree, QAccessible::StaticText, "Vesko"));
    QVERIFY(findNode(tree, QAccessible::StaticText, "Drag or select the folder with images"));
    QVERIFY(findNode(tree, QAccessible::StaticText, "Select a folder to begin"));
    QVERIFY(findNode(tree, QAccessible::ProgressBar, "Progress"));
    // Nothing nameless, and no button's word read a second time as text.
    for (const AccessibleNode& node : tree) {
        if (node.role != QAccessible::Window) {
            QVERIFY2(!node.name.isEmpty(), qPrintable(QString::number(node.role, 16)));
        }
        if (node.role == QAccessible::StaticText) {
            QVERIFY2(!findNode(tree, QAccessible::Button, node.name), qPrintable(node.name));
        }
    }
}

// Through to "Done!" by the screen reader's press action alone, hearing each photo and count.
void AccessibilityTest::photosAreReadAndControlsPressedToTheEnd() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"Sunset at Brač.jpg", "b.jpg"});
    window.chooser().answer = std::filesystem::path(folder.toStdString());
    QVERIFY(press(accessibleTree(window.window()), "Select folder"));
    const QString first = window.text("title");
    QList<AccessibleNode> tree = accessibleTree(window.window());
    QVERIFY(findNode(tree, QAccessible::Graphic, first));
    QVERIFY(findNode(tree, QAccessible::StaticText, first));
    QVERIFY(findNode(tree, QAccessible::StaticText, "0 of 2 photos decided"));
    QVERIFY(!findNode(tree, QAccessible::Button, "Select folder"));

    QVERIFY(press(tree, "Yes"));
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{first});
    QVERIFY(findNode(accessibleTree(window.window()), QAccessible::StaticText,
                     "1 of 2 photos decided"));
    QVERIFY(press(accessibleTree(window.window()), "Undo"));
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{});
    QVERIFY(press(accessibleTree(window.window()), "No"));
    QVERIFY(press(accessibleTree(window.window()), "No"));
    QTRY_VERIFY(window.alertOpen());
    tree = accessibleTree(window.window());
    QVERIFY(findNode(tree, QAccessible::StaticText, "All photos have been classified."));
    QVERIFY(press(tree, "OK"));
    QTRY_VERIFY(!window.alertOpen());
    QVERIFY(window.isShown("startScreen"));
}

// After Yes and Maybe the move could still be undone by a direct call: a disabled Undo must
// not let a screen reader make it.
void AccessibilityTest::disabledControlsIgnoreTheirAccessibleAction() {
    WindowHarness window;
    const QString folder = window.makeFolder("trip", {"a.jpg", "b.jpg"});
    window.loadFolder(folder);
    window.press(Qt::Key_Return);
    window.press(Qt::Key_Space);
    QVERIFY(!window.isEnabled("undoButton"));
    QVERIFY(press(accessibleTree(window.window()), "Undo"));
    QCOMPARE(window.filesIn(folder + "/Selected").size(), 1);
}

void AccessibilityTest::placeholderIsNamed() {
    WindowHarness window;
    window.loadFolder(window.makeFolder("odd", {"broken.jpg"}));
    const QList<AccessibleNode> tree = accessibleTree(window.window());
    QVERIFY(std::ranges::any_of(tree, [](const AccessibleNode& node) {
        return node.role == QAccessible::Graphic &&
               node.name.startsWith(QStringLiteral("This file can't be shown"));
    }));
}

}  // namespace vesko
