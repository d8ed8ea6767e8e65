#include "SortbayApp.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "LaunchArguments.h"
#include "ScreenDecoder.h"
#include "classifier/PhotoViewModel.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixMoveJournal.h"
#include "platform/qt/FileManagerDesktop.h"
#include "platform/qt/QtFolderChooser.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtPreferences.h"
#include "translations/Translations.h"
#include "ui/ContentWindow.h"
#include "ui/ViewModelBridge.h"

namespace vesko {
namespace {

void write(std::FILE* stream, const QString& text) {
    if (!text.isEmpty()) {
        std::fputs(text.toLocal8Bit().constData(), stream);
    }
}

}  // namespace

int SortbayApp::run(int argc, char** argv) {
    QApplication::setOrganizationName(QStringLiteral("Vesko"));
    QApplication::setApplicationName(QStringLiteral("Vesko"));
    QApplication::setApplicationVersion(QStringLiteral(VESKO_VERSION));
    // The command line is read before the window system is reached, so that --help, --version
    // and a wrong option work without a display (over ssh, in a script).
    LaunchRequest launch;
    {
        QCoreApplication core(argc, argv);
        installTranslations(core);
        std::error_code noDirectory;
        launch =
            readLaunchArguments({argv, argv + argc}, std::filesystem::current_path(noDirectory));
    }
    write(stdout, launch.standardOutput);
    write(stderr, launch.standardError);
    if (launch.exitCode) {
        return *launch.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vesko"));
    QApplication::setDesktopFileName(QStringLiteral("app.vesko.Vesko"));
    installTranslations(app);
    const auto decoder = decoderStackForScreens();
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
        .captureReader = captureReaderOfFiles(),
    });
    model->recoverInterruptedMoves();
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window(
        createContentView(engine, std::move(model), decoder, preferences));
    if (!window) {
        return 1;
    }
    window->setProperty("launchNotice", launch.notice);
    // Before the first frame, which then shows the folder's first photo.
    if (launch.folder) {
        window->property("viewModel").value<ViewModelBridge*>()->loadFolder(*launch.folder);
    }
    const int exitCode = app.exec();
    stopDecodingOutside();
    return exitCode;
}

}  // namespace vesko
