#pragma once

#include <QObject>

namespace vesko {

// The window as a screen reader finds it: every control and the photo named, and usable.
class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startScreenNamesEveryControl();
    void photosAreReadAndControlsPressedToTheEnd();
    void disabledControlsIgnoreTheirAccessibleAction();
    void placeholderIsNamed();
};

}  // namespace vesko
