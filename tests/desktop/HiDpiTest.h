#pragma once

#include <QObject>

namespace vesko {

// The window at two device pixels a point: the photo is drawn from its own pixels at the
// screen's resolution, not enlarged from a half-size drawing.
class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void photoIsDrawnAtDevicePixels();
};

}  // namespace vesko
