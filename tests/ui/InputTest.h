#pragma once

#include <QObject>

namespace vesko {

// Keys, clicks and drops, and what each may and may not do.
class InputTest : public QObject {
    Q_OBJECT

private slots:
    void keysDoNothingOnTheStartScreen();
    void eachDecisionKeyMovesThePhoto_data();
    void eachDecisionKeyMovesThePhoto();
    void returnNeverUndoes();
    void keysDoNothingUnderTheAlert();
    void alertClosesWithReturnAndEscape_data();
    void alertClosesWithReturnAndEscape();
    void chooserOpensFromTheButtonAndTheStartScreen();
    void droppedFolderIsLoaded();
    void droppedFileIsIgnoredButAccepted();
    void onlyTheFirstOfTwoDroppedFoldersCounts();
    void changesArriveOnceAndAfterTheyAreStored();
};

}  // namespace vesko
