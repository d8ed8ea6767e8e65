#pragma once

#include <QObject>

namespace vesko {

// The window at two device pixels a point: lengths stay in points, the photo is drawn from
// its own pixels at the screen's resolution, not enlarged from a half-size drawing.
class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void photosAreDecodedForTheScreensPixels();
    void layoutKeepsItsLengthsInPoints();
    void photoIsDrawnAtDevicePixels();
};

}  // namespace vesko
