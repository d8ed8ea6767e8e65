#pragma once

#include <QObject>

namespace vesko {

// Where the pane's round corners cut the photo.
class PhotoViewTest : public QObject {
    Q_OBJECT

private slots:
    void cornersCutOnlyWhereThePhotoReachesThem();
    void zoomPansWithinTheImageAndLastsAcrossAnswers();
};

}  // namespace vesko
