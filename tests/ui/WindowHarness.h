#pragma once

#include <QDir>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <memory>

#include "platform/fakes/FakeDesktop.h"
#include "ui/ViewModelBridge.h"

namespace vesko {

// The real window around the real classifier, on the real file system in a scratch folder;
// only the folder chooser and the file browser are stand-ins.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    QQuickWindow* window() const { return window_.get(); }
    ViewModelBridge* viewModel() const;
    ScriptedFolderChooser& chooser() { return *chooser_; }
    RecordingDesktop& desktop() { return *desktop_; }

    // A folder inside the scratch folder with the given files: those whose name contains
    // "broken" hold no image, the others are JPEGs of `size`, each of another colour.
    QString makeFolder(const QString& name, const QStringList& files, QSize size = {160, 120});
    QStringList filesIn(const QString& folder) const;

    // The window's parts, by object name; fails the test when one is missing.
    QQuickItem* item(const char* objectName) const;
    QString text(const char* objectName) const;
    bool isEnabled(const char* objectName) const;
    bool isShown(const char* objectName) const;
    bool alertOpen() const;

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(const char* objectName);
    void clickAt(QPointF scenePoint);
    // Drops the URLs on the middle of the window; returns whether the drop was accepted.
    bool drop(const QList<QUrl>& urls);
    void loadFolder(const QString& folder);
    QImage grab();

private:
    QTemporaryDir scratch_;
    std::shared_ptr<ScriptedFolderChooser> chooser_;
    std::shared_ptr<RecordingDesktop> desktop_;
    QQmlEngine engine_;
    std::unique_ptr<QQuickWindow> window_;
};

}  // namespace vesko
