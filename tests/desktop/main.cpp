#include <QApplication>
#include <QTest>
#include <cstring>
#include <memory>

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
    std::unique_ptr<QObject> test;
    if (std::strcmp(suite, "accessibility") == 0)
        test = std::make_unique<vesko::AccessibilityTest>();
    if (std::strcmp(suite, "translation") == 0) test = std::make_unique<vesko::TranslationTest>();
    if (std::strcmp(suite, "hidpi") == 0) test = std::make_unique<vesko::HiDpiTest>();
    if (test) return QTest::qExec(test.get(), argc, argv);
    qCritical("No suite %s", suite);
    return 2;
}
