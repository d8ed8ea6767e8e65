#include <QApplication>
#include <QTest>

#include "InputTest.h"
#include "PhotoViewTest.h"
#include "StateTablesTest.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    vesko::StateTablesTest stateTables;
    failures += QTest::qExec(&stateTables, argc, argv);
    vesko::InputTest input;
    failures += QTest::qExec(&input, argc, argv);
    vesko::PhotoViewTest photoView;
    failures += QTest::qExec(&photoView, argc, argv);
    return failures == 0 ? 0 : 1;
}
