#include <QApplication>
#include <QTest>
#include <cstring>

#include "AccessibilityTest.h"
#include "HiDpiTest.h"
#include "TranslationTest.h"
#include "translations/Translations.h"

// Each suite runs in a process of its own, under the locale or scale it needs:
// vesko_desktop_tests accessibility|translation|hidpi [QTest options]
int main(int argc, char** argv) {
    if (argc < 2) {
        qCritical("Usage: %s accessibility|translation|hidpi [QTest options]", argv[0]);
        return 2;
    }
    const char* suite = argv[1];
    argv[1] = argv[0];
    --argc;
    ++argv;
    QApplication app(argc, argv);
    vesko::installTranslations(app);
    if (std::strcmp(suite, "accessibility") == 0) {
        vesko::AccessibilityTest test;
        return QTest::qExec(&test, argc, argv);
    }
    if (std::strcmp(suite, "translation") == 0) {
        vesko::TranslationTest test;
        return QTest::qExec(&test, argc, argv);
    }
    if (std::strcmp(suite, "hidpi") == 0) {
        vesko::HiDpiTest test;
        return QTest::qExec(&test, argc, argv);
    }
    qCritical("No suite %s", suite);
    return 2;
}
