#include "FileManagerDesktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace vesko {
namespace {

QUrl folderUrl(const std::filesystem::path& folder) {
    const std::string& bytes = folder.native();
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray(bytes.data(), bytes.size())));
}

void openWithDefaultHandler(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace

void FileManagerDesktop::showFolder(const std::filesystem::path& folder) {
    const QUrl url = folderUrl(folder);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openWithDefaultHandler(url);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowFolders"));
    call << QStringList{url.toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [url](QDBusPendingCallWatcher* finished) {
                         if (finished->isError()) {
                             openWithDefaultHandler(url);
                         }
                         finished->deleteLater();
                     });
}

}  // namespace vesko
