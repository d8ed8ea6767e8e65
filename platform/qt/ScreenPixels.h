#pragma once

#include <QSize>

namespace vesko {

// The most device pixels a photo may need to fill: the largest screen's size times its
// device-pixel ratio, and never less than a 1920 x 1200 screen, so that a window moved to a
// bigger screen still looks sharp. Photos are decoded no larger than this.
QSize largestScreenInPixels();

}  // namespace vesko
