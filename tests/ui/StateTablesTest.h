#pragma once

#include <QObject>

namespace vesko {

// The window's presentations, from launch to "Done!", as a user goes through them.
class StateTablesTest : public QObject {
    Q_OBJECT

private slots:
    void launchShowsTheStartScreen();
    void photoShownThenYesThenMaybe();
    void undoPutsThePhotoBackAndBackLeavesTheRest();
    void undecodableHeadShowsAPlaceholderAndCanBeAnswered();
    void failedMoveShowsANoticeUntilTheNextKey();
    void finishedShowsTheAlertUntilOk();
    void folderWithoutPhotosFinishesAtOnce();
};

}  // namespace vesko
