#include "TranslationTest.h"

#include <QLocale>
#include <QTest>

#include "tests/ui/WindowHarness.h"

namespace vesko {

// Only that the German texts are loaded: translations_complete checks that each has one.
void TranslationTest::germanTextsButFileNamesAsOnDisk() {
    QCOMPARE(QLocale().language(), QLocale::German);
    WindowHarness window;
    QCOMPARE(window.text("yesButton"), QStringLiteral("Ja"));
    // Words that have a German translation, and markup, must come through as they are.
    const QString name = QStringLiteral("Yes <b>No & Maybe – Ärger.JPG");
    const QString folder = window.makeFolder("Ausflug", {name});
    window.loadFolder(folder);
    QCOMPARE(window.text("title"), name);
    window.press(Qt::Key_Return);
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{name});
    QTRY_VERIFY(window.alertOpen());
    QObject* alert = window.window()->findChild<QObject*>(QStringLiteral("alert"));
    QCOMPARE(alert->property("title").toString(), QStringLiteral("Fertig!"));
}

}  // namespace vesko
