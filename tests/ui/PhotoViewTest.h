#pragma once

#include <QObject>

namespace vesko {

// How the photo is fitted into its pane and where the pane's round corners cut it.
class PhotoViewTest : public QObject {
    Q_OBJECT

private slots:
    void fitsByAspectRatioAndCentres_data();
    void fitsByAspectRatioAndCentres();
    void cornersCutOnlyWhereThePhotoReachesThem();
    void zoomPansWithinTheImageAndLastsAcrossAnswers();
};

}  // namespace vesko
