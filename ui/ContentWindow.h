#pragma once

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace vesko {

class HintedDecoder;
class PhotoViewModel;
class Preferences;

// Builds the main window, ContentView, around `model`. The window owns the bridge to the
// classifier and so keeps the classifier for as long as it lives. `regionDecoder`, the decoder
// the classifier was given, gives the zoomed view its full-resolution pixels; without one it
// enlarges the fitted image. `preferences` keeps the window's choices; without it they last as
// long as the window. Returns null, after printing QML's errors, when the window cannot be built.
QQuickWindow* createContentView(QQmlEngine& engine, std::shared_ptr<PhotoViewModel> model,
                                std::shared_ptr<const HintedDecoder> regionDecoder = nullptr,
                                std::shared_ptr<Preferences> preferences = nullptr);

}  // namespace vesko
