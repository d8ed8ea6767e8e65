#include "ScreenPixels.h"

#include <QGuiApplication>
#include <QScreen>

namespace vesko {

QSize largestScreenInPixels() {
    QSize bound(1920, 1200);
    for (const QScreen* screen : QGuiApplication::screens()) {
        bound = bound.expandedTo(screen->size() * screen->devicePixelRatio());
    }
    return bound;
}

}  // namespace vesko
