#include "TranslationTest.h"

#include <QLocale>
#include <QTest>

#include "tests/ui/WindowHarness.h"

namespace vesko {

void TranslationTest::startScreenSpeaksGerman() {
    QCOMPARE(QLocale().language(), QLocale::German);
    WindowHarness window;
    QCOMPARE(window.text("selectFolderButton"), QStringLiteral("Ordner auswählen"));
    QCOMPARE(window.text("noButton"), QStringLiteral("Nein"));
    QCOMPARE(window.text("maybeButton"), QStringLiteral("Vielleicht"));
    QCOMPARE(window.text("yesButton"), QStringLiteral("Ja"));
    QCOMPARE(window.text("backButton"), QStringLiteral("Zurück"));
    QCOMPARE(window.text("undoButton"), QStringLiteral("Rückgängig"));
    QCOMPARE(window.text("countLabel"), QStringLiteral("Wählen Sie einen Ordner, um zu beginnen"));
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
}

void TranslationTest::fileNameStaysAsOnDiskAndDoneIsGerman() {
    WindowHarness window;
    // Words that have a German translation, and markup, must come through as they are.
    const QString name = QStringLiteral("Yes <b>No & Maybe – Ärger.JPG");
    const QString folder = window.makeFolder("Ausflug", {name});
    window.loadFolder(folder);
    QCOMPARE(window.text("title"), name);
    QCOMPARE(window.text("countLabel"), QStringLiteral("0/1"));

    window.press(Qt::Key_Return);
    QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{name});
    QTRY_VERIFY(window.alertOpen());
    QObject* alert = window.window()->findChild<QObject*>(QStringLiteral("alert"));
    QCOMPARE(alert->property("title").toString(), QStringLiteral("Fertig!"));
    QCOMPARE(window.text("okButton"), QStringLiteral("OK"));
}

}  // namespace vesko
