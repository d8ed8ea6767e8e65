#pragma once

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace vesko {

class PhotoViewModel;

// Builds the main window, ContentView, around `model`. The window owns the bridge to the
// classifier and so keeps the classifier for as long as it lives. Returns null, after
// printing QML's errors, when the window cannot be built.
QQuickWindow* createContentView(QQmlEngine& engine, std::shared_ptr<PhotoViewModel> model);

}  // namespace vesko
