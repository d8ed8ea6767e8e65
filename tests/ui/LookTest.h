#pragma once

#include <QObject>

namespace vesko {

// Sizes, placement and colours of the window's parts, and its screenshots.
class LookTest : public QObject {
    Q_OBJECT

private slots:
    void wideWindowCapsTheRowsAndCentresThem();
    void minimumSizeKeepsThreeEqualButtons();
    void screenshotsShowTheColours();
    void decisionLabelsStayBlackInADarkPalette();
};

}  // namespace vesko
