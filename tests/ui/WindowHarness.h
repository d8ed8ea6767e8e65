#pragma once

#include <exiv2/exiv2.hpp>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "classifier/PhotoViewModel.h"
#include "platform/AheadFactsReader.h"
#include "platform/DecoderStack.h"
#include "platform/decoder/PhotoDecoder.h"
#include "platform/decoder/ShootingFactsReader.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtMainThread.h"
#include "ui/ContentWindow.h"
#include "ui/ViewModelBridge.h"

namespace vesko {

// The real window around the real classifier, on the real file system in a scratch folder;
// only the folder chooser and the file browser are stand-ins.
class WindowHarness {
public:
    // The app's decoder stack; with `regions`, the zoomed view gets full-resolution pixels from it.
    explicit WindowHarness(bool regions = false, std::shared_ptr<Preferences> preferences =
                                                     std::make_shared<MemoryPreferences>()) {
        auto decoder = decoderStackOver(std::make_shared<PhotoDecoder>(DisplayBound{1920, 1200}));
        auto model = PhotoViewModel::create({
            .fileSystem = std::make_shared<PosixFileSystem>(),
            .imageDecoder = decoder,
            .folderChooser = chooser_,
            .desktop = desktop_,
            .mainThread = std::make_shared<QtMainThread>(),
            .preferences = preferences,
            .captureReader = std::make_shared<AheadFactsReader>(
                [](const std::string& file) { return decoder::readShootingFactsOfFile(file); }),
        });
        window_.reset(createContentView(engine_, std::move(model), regions ? decoder : nullptr,
                                        std::move(preferences)));
        window_->show();
        window_->requestActivate();
        if (!QTest::qWaitForWindowActive(window_.get())) {
            qWarning("The window did not become active");
        }
    }

    QQuickWindow* window() const { return window_.get(); }
    ViewModelBridge* viewModel() const {
        return window_->property("viewModel").value<ViewModelBridge*>();
    }
    ScriptedFolderChooser& chooser() { return *chooser_; }
    RecordingDesktop& desktop() { return *desktop_; }

    // A folder inside the scratch folder with the given files, JPEGs of `size`, each of
    // another colour.
    QString makeFolder(const QString& name, const QStringList& files, QSize size = {160, 120}) {
        QDir(scratch_.path()).mkpath(name);
        const QString folder = QDir(scratch_.path()).filePath(name);
        for (const QString& file : files) {
            const QColor colour = QColor::fromHsv(int(files.indexOf(file)) * 70 % 360, 200, 220);
            saveJpeg(QDir(folder).filePath(file), size, colour);
        }
        return folder;
    }
    // Writes a JPEG of one colour, replacing any file at `path` at once, as a rename does.
    static void saveJpeg(const QString& path, QSize size, const QColor& colour) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path + ".new", "JPEG");
        std::filesystem::rename(QFile::encodeName(path + ".new").toStdString(),
                                QFile::encodeName(path).toStdString());
    }
    // Writes a tag into a photo's EXIF, as the camera would have.
    static void setExif(const QString& photo, const char* key, const std::string& value) {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(photo).toStdString());
        image->readMetadata();
        image->exifData()[key] = value;
        image->writeMetadata();
    }
    QStringList filesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // The window's parts, by object name, also those a Repeater made; a missing one ends the
    // test run.
    QQuickItem* item(const char* objectName) const {
        auto* found = find(objectName);
        if (!found) {
            qFatal("No item named %s", objectName);
        }
        return found;
    }
    QString text(const char* objectName) const {
        return item(objectName)->property("text").toString();
    }
    bool isEnabled(const char* objectName) const { return item(objectName)->isEnabled(); }
    // A part not made yet (the photo's, before the first frame) is not shown either.
    bool isShown(const char* objectName) const {
        auto* found = find(objectName);
        return found && found->isVisible();
    }
    // Whether the popup of that name (the alert, the key overview) is open.
    bool popupOpen(const char* objectName) const {
        QObject* popup = window_->findChild<QObject*>(QLatin1String(objectName));
        return popup && popup->property("visible").toBool();
    }
    bool alertOpen() const { return popupOpen("alert"); }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window_.get(), key, modifiers);
    }
    // The key held down: its press, the presses the keyboard repeats, then its release.
    void hold(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (const bool repeated : {false, true, true, true}) {
            QTest::simulateEvent(window_.get(), true, key, modifiers, {}, repeated);
        }
        QTest::simulateEvent(window_.get(), false, key, modifiers, {}, false);
    }
    void click(const char* objectName) {
        QQuickItem* target = item(objectName);
        clickAt(target->mapToScene(QPointF(target->width() / 2, target->height() / 2)));
    }
    void clickAt(QPointF scenePoint) {
        QTest::mouseClick(window_.get(), Qt::LeftButton, Qt::NoModifier, scenePoint.toPoint());
    }
    // Drops the URLs on the middle of the window; returns whether the drop was accepted.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint centre(window_->width() / 2, window_->height() / 2);
        const auto actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(centre, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &enter);
        QDropEvent dropped(centre, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &dropped);
        return dropped.isAccepted() && dropped.dropAction() != Qt::MoveAction;
    }
    void loadFolder(const QString& folder) {
        chooser_->answer = QFile::encodeName(folder).toStdString();
        click("selectFolderButton");
    }

private:
    QQuickItem* find(const char* objectName) const {
        auto* found = window_->findChild<QQuickItem*>(QLatin1String(objectName));
        return found ? found : findBelow(window_->contentItem(), QLatin1String(objectName));
    }
    static QQuickItem* findBelow(QQuickItem* item, QLatin1String objectName) {
        if (item->objectName() == objectName) return item;
        for (QQuickItem* child : item->childItems()) {
            if (QQuickItem* found = findBelow(child, objectName)) return found;
        }
        return nullptr;
    }

    QTemporaryDir scratch_;
    std::shared_ptr<ScriptedFolderChooser> chooser_ = std::make_shared<ScriptedFolderChooser>();
    std::shared_ptr<RecordingDesktop> desktop_ = std::make_shared<RecordingDesktop>();
    QQmlEngine engine_;
    std::unique_ptr<QQuickWindow> window_;
};

}  // namespace vesko
