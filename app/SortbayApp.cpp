#include "SortbayApp.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <memory>

#include "ScreenDecoder.h"
#include "classifier/PhotoViewModel.h"
#include "platform/HintedDecoder.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixMoveJournal.h"
#include "platform/qt/FileManagerDesktop.h"
#include "platform/qt/QtFolderChooser.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtPreferences.h"
#include "translations/Translations.h"
#include "ui/ContentWindow.h"

namespace vesko {

int SortbayApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vesko"));
    QApplication::setApplicationName(QStringLiteral("Vesko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vesko"));
    QApplication::setDesktopFileName(QStringLiteral("app.vesko.Vesko"));
    installTranslations(app);

    const auto decoder = std::make_shared<HintedDecoder>(decoderAheadForScreens());
    const auto preferences = std::make_shared<QtPreferences>();
    auto model = PhotoViewModel::create({
        .fileSystem = std::make_shared<PosixFileSystem>(),
        .imageDecoder = decoder,
        .folderChooser = std::make_shared<QtFolderChooser>(),
        .desktop = std::make_shared<FileManagerDesktop>(),
        .mainThread = std::make_shared<QtMainThread>(),
        .preferences = preferences,
        .moveJournal = std::make_shared<PosixMoveJournal>(PosixMoveJournal::defaultFolder(),
                                                          PosixMoveJournal::Durability::processEnd),
    });
    model->recoverInterruptedMoves();
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window(
        createContentView(engine, std::move(model), decoder, preferences));
    if (!window) {
        return 1;
    }
    return app.exec();
}

}  // namespace vesko
