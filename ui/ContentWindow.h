#pragma once

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace vesko {

class ImageDecoder;
class PhotoViewModel;

// Builds the main window, ContentView, around `model`. The window owns the bridge to the
// classifier and so keeps the classifier for as long as it lives. `regionDecoder` gives the
// zoomed view its full-resolution pixels; without one it enlarges the fitted image. Returns
// null, after printing QML's errors, when the window cannot be built.
QQuickWindow* createContentView(QQmlEngine& engine, std::shared_ptr<PhotoViewModel> model,
                                std::shared_ptr<const ImageDecoder> regionDecoder = nullptr);

}  // namespace vesko
