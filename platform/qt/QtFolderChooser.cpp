#include "QtFolderChooser.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

namespace vesko {
namespace {

// The application's window that the dialog belongs to: the active one, or else the first
// one shown.
QWindow* applicationWindow() {
    if (QWindow* focused = QGuiApplication::focusWindow()) {
        return focused;
    }
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->type() == Qt::Window) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<std::filesystem::path> QtFolderChooser::chooseFolder() {
    QPointer<QWindow> owner = applicationWindow();
    QFileDialog dialog;
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.winId();
    if (owner && dialog.windowHandle()) {
        dialog.windowHandle()->setTransientParent(owner);
    }
    const bool chosen = dialog.exec() == QDialog::Accepted;
    // Without a window manager nobody else hands the keyboard back to the window, and the
    // decision keys would go nowhere.
    if (owner) {
        owner->requestActivate();
    }
    const QStringList folders = dialog.selectedFiles();
    if (!chosen || folders.isEmpty() || folders.front().isEmpty()) {
        return std::nullopt;
    }
    const QByteArray bytes = QFile::encodeName(folders.front());
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
}

}  // namespace vesko
