#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QSize>

namespace vesko::bench {

// The window's size in a run: 1400 x 900, or the whole of a 4K screen (or larger), as a
// photographer there works with the window maximised.
inline QSize benchWindowSize() {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    return screen.width() >= 3840 ? screen : QSize(1400, 900);
}

}  // namespace vesko::bench
