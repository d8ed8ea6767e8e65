#include "SortbayApp.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>
#include <memory>

#include "classifier/PhotoViewModel.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/FileManagerDesktop.h"
#include "platform/qt/QtFolderChooser.h"
#include "platform/qt/QtMainThread.h"
#include "translations/Translations.h"
#include "ui/ContentWindow.h"
#ifdef VESKO_HAVE_PHOTO_DECODER
#include "platform/decoder/PhotoDecoder.h"
#else
#include "platform/qt/QtImageDecoder.h"
#endif

namespace vesko {
namespace {

// Photos are decoded no larger than the largest screen can show, and never smaller than a
// full-HD screen, so a window moved to a bigger screen still looks sharp.
QSize displayBound() {
    QSize bound(1920, 1200);
    for (const QScreen* screen : QGuiApplication::screens()) {
        bound = bound.expandedTo(screen->size() * screen->devicePixelRatio());
    }
    return bound;
}

std::shared_ptr<ImageDecoder> makeDecoder() {
    const QSize bound = displayBound();
#ifdef VESKO_HAVE_PHOTO_DECODER
    return std::make_shared<PhotoDecoder>(DisplayBound{bound.width(), bound.height()});
#else
    return std::make_shared<QtImageDecoder>(bound);
#endif
}

}  // namespace

int SortbayApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vesko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vesko"));
    QApplication::setDesktopFileName(QStringLiteral("app.vesko.Vesko"));
    installTranslations(app);

    auto model = PhotoViewModel::create({
        .fileSystem = std::make_shared<PosixFileSystem>(),
        .imageDecoder = makeDecoder(),
        .folderChooser = std::make_shared<QtFolderChooser>(),
        .desktop = std::make_shared<FileManagerDesktop>(),
        .mainThread = std::make_shared<QtMainThread>(),
    });
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window(createContentView(engine, std::move(model)));
    if (!window) {
        return 1;
    }
    return app.exec();
}

}  // namespace vesko
