#include "WindowHarness.h"

#include <QFile>
#include <QMimeData>
#include <QTest>

#include "classifier/PhotoViewModel.h"
#include "platform/decoder/PhotoDecoder.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtMainThread.h"
#include "ui/ContentWindow.h"

namespace vesko {
namespace {

std::filesystem::path toPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
}

}  // namespace

WindowHarness::WindowHarness()
    : chooser_(std::make_shared<ScriptedFolderChooser>()),
      desktop_(std::make_shared<RecordingDesktop>()) {
    auto model = PhotoViewModel::create({
        .fileSystem = std::make_shared<PosixFileSystem>(),
        .imageDecoder = std::make_shared<PhotoDecoder>(DisplayBound{1920, 1200}),
        .folderChooser = chooser_,
        .desktop = desktop_,
        .mainThread = std::make_shared<QtMainThread>(),
        .preferences = std::make_shared<MemoryPreferences>(),
    });
    window_.reset(createContentView(engine_, std::move(model)));
    if (!window_) {
        qFatal("The window could not be built");
    }
    window_->show();
    window_->requestActivate();
    if (!QTest::qWaitForWindowActive(window_.get())) {
        qWarning("The window did not become active");
    }
}

WindowHarness::~WindowHarness() = default;

ViewModelBridge* WindowHarness::viewModel() const {
    return window_->property("viewModel").value<ViewModelBridge*>();
}

QString WindowHarness::makeFolder(const QString& name, const QStringList& files, QSize size) {
    QDir root(scratch_.path());
    root.mkpath(name);
    const QString folder = root.filePath(name);
    int hue = 0;
    for (const QString& file : files) {
        const QString path = QDir(folder).filePath(file);
        if (file.contains(QLatin1String("broken"))) {
            QFile broken(path);
            broken.open(QIODevice::WriteOnly);
            broken.write("not an image at all");
            continue;
        }
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(hue, 200, 220));
        hue = (hue + 70) % 360;
        image.save(path, "JPEG");
    }
    return folder;
}

QStringList WindowHarness::filesIn(const QString& folder) const {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QQuickItem* WindowHarness::item(const char* objectName) const {
    auto* found = window_->findChild<QQuickItem*>(QLatin1String(objectName));
    if (!found) {
        qFatal("No item named %s", objectName);
    }
    return found;
}

QString WindowHarness::text(const char* objectName) const {
    return item(objectName)->property("text").toString();
}

bool WindowHarness::isEnabled(const char* objectName) const {
    return item(objectName)->isEnabled();
}

bool WindowHarness::isShown(const char* objectName) const { return item(objectName)->isVisible(); }

bool WindowHarness::alertOpen() const {
    QObject* alert = window_->findChild<QObject*>(QStringLiteral("alert"));
    return alert && alert->property("visible").toBool();
}

void WindowHarness::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window_.get(), key, modifiers);
}

void WindowHarness::click(const char* objectName) {
    QQuickItem* target = item(objectName);
    clickAt(target->mapToScene(QPointF(target->width() / 2, target->height() / 2)));
}

void WindowHarness::clickAt(QPointF scenePoint) {
    QTest::mouseClick(window_.get(), Qt::LeftButton, Qt::NoModifier, scenePoint.toPoint());
}

bool WindowHarness::drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre(window_->width() / 2, window_->height() / 2);
    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &enter);
    QDropEvent dropped(centre, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &dropped);
    return dropped.isAccepted() && dropped.dropAction() != Qt::MoveAction;
}

void WindowHarness::loadFolder(const QString& folder) {
    chooser_->answer = toPath(folder);
    click("selectFolderButton");
}

QImage WindowHarness::grab() { return window_->grabWindow(); }

}  // namespace vesko
