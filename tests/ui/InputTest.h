#pragma once

#include <QObject>

namespace vesko {

// Clicks and drops, and the order in which the window hears of what they change.
class InputTest : public QObject {
    Q_OBJECT

private slots:
    void chooserOpensFromTheButtonAndTheStartScreen();
    void drops_data();
    void drops();
    void changesArriveOnceAndAfterTheyAreStored();
};

}  // namespace vesko
