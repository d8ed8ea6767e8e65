#include "QtFolderChooser.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QWindow>

namespace vesko {

std::optional<std::filesystem::path> QtFolderChooser::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QString(), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray bytes = QFile::encodeName(folder);
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
}

}  // namespace vesko
