#include <QApplication>
#include <QTest>

#include "InputTest.h"
#include "LookTest.h"
#include "PhotoViewTest.h"
#include "StateTablesTest.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    vesko::StateTablesTest stateTables;
    failures += QTest::qExec(&stateTables, argc, argv);
    vesko::InputTest input;
    failures += QTest::qExec(&input, argc, argv);
    vesko::LookTest look;
    failures += QTest::qExec(&look, argc, argv);
    vesko::PhotoViewTest photoView;
    failures += QTest::qExec(&photoView, argc, argv);
    return failures == 0 ? 0 : 1;
}
