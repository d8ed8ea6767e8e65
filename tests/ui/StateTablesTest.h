#pragma once

#include <QObject>

namespace vesko {

// The window's presentations, from launch to "Done!", as a user goes through them.
class StateTablesTest : public QObject {
    Q_OBJECT

private slots:
    void startScreenTakesNoDecision();
    void decisions_data();
    void decisions();
    void undoPutsThePhotoBackAndBackLeavesTheRest();
    void undecodableHeadShowsAPlaceholderAndCanBeAnswered();
    void failedMoveShowsANoticeUntilTheNextKey();
    void doneIsShownUntilDismissed_data();
    void doneIsShownUntilDismissed();
};

}  // namespace vesko
