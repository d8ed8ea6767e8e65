// Key to frame: the real window at 1400 x 900, a folder of photos, Return pressed N times;
// for each press the time from the key event to the frame that shows the next photo, beside
// the decoder's own time for the same files in the same run. Then the peak memory across a
// folder of 200 photos, against the memory after its first photo.
//
// Usage: vesko_bench_keytoframe PHOTO_FOLDER [PRESSES] [MEMORY_PHOTOS]
// Run it offscreen (QT_QPA_PLATFORM=offscreen) or in an X server; QT_QUICK_BACKEND=software
// for the software renderer.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PhotoFolder.h"
#include "app/ScreenDecoder.h"
#include "classifier/PhotoViewModel.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtMainThread.h"
#include "ui/ContentWindow.h"
#include "ui/ViewModelBridge.h"

namespace vesko {
namespace {

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

// Resident and peak resident memory of this process, in MiB.
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stod(line.substr(key.size())) / 1024.0;
        }
    }
    return 0;
}

void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

class Bench {
public:
    Bench() : decoder_(decoderForScreens()), chooser_(std::make_shared<ScriptedFolderChooser>()) {
        auto model = PhotoViewModel::create({
            .fileSystem = std::make_shared<PosixFileSystem>(),
            .imageDecoder = decoder_,
            .folderChooser = chooser_,
            .desktop = std::make_shared<RecordingDesktop>(),
            .mainThread = std::make_shared<QtMainThread>(),
        });
        window_.reset(createContentView(engine_, std::move(model)));
        window_->resize(1400, 900);
        window_->show();
        window_->requestActivate();
        if (!QTest::qWaitForWindowActive(window_.get())) {
            std::fprintf(stderr, "the window did not become active\n");
        }
        QObject::connect(window_.get(), &QQuickWindow::frameSwapped, [this] { ++frames_; });
        viewModel_ = window_->property("viewModel").value<ViewModelBridge*>();
    }

    void load(const PhotoFolder& folder) {
        chooser_->answer = folder.path();
        const int before = frames_;
        viewModel_->selectFolder();
        waitForFrameAfter(before);
    }

    // Presses Return and returns the milliseconds until the next frame has been swapped.
    double pressReturn() {
        const int before = frames_;
        const QString title = viewModel_->currentFileName();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(window_.get(), Qt::Key_Return);
        waitForFrameAfter(before);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (viewModel_->currentFileName() == title && !viewModel_->showFinished()) {
            std::fprintf(stderr, "a key press was lost\n");
            std::exit(1);
        }
        return elapsed;
    }

    double decodeMilliseconds(const std::filesystem::path& file) const {
        QElapsedTimer timer;
        timer.start();
        const ImageHandle image = decoder_->decode(file);
        return image ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : -1;
    }

private:
    void waitForFrameAfter(int before) {
        QElapsedTimer timeout;
        timeout.start();
        while (frames_ == before && timeout.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }

    std::shared_ptr<ImageDecoder> decoder_;
    std::shared_ptr<ScriptedFolderChooser> chooser_;
    QQmlEngine engine_;
    std::unique_ptr<QQuickWindow> window_;
    ViewModelBridge* viewModel_ = nullptr;
    int frames_ = 0;
};

void keyToFrame(Bench& bench, const std::filesystem::path& source, int presses) {
    PhotoFolder folder(source, presses + 1);
    bench.load(folder);
    std::vector<double> frames;
    for (int i = 0; i < presses; ++i) {
        frames.push_back(bench.pressReturn());
    }
    const auto selected =
        std::distance(std::filesystem::directory_iterator(folder.path() / "Selected"),
                      std::filesystem::directory_iterator());
    std::vector<double> decodes;
    for (int i = 0; i < presses; ++i) {
        decodes.push_back(
            bench.decodeMilliseconds(folder.sources()[(i + 1) % folder.sources().size()]));
    }
    std::printf("| %s | %s | %d | %ld | %.1f | %.1f | %.1f | %.1f |\n",
                QGuiApplication::platformName().toUtf8().constData(),
                QQuickWindow::sceneGraphBackend().isEmpty()
                    ? "default"
                    : QQuickWindow::sceneGraphBackend().toUtf8().constData(),
                presses, static_cast<long>(selected), percentile(frames, 0.5),
                percentile(frames, 0.95), percentile(decodes, 0.5), percentile(decodes, 0.95));
}

void memory(Bench& bench, const std::filesystem::path& source, int photos) {
    PhotoFolder folder(source, photos);
    bench.load(folder);
    const double first = statusMiB("VmRSS");
    resetPeakMemory();
    double highest = first;
    for (int i = 1; i < photos; ++i) {
        bench.pressReturn();
        highest = std::max(highest, statusMiB("VmRSS"));
    }
    const double peak = std::max(highest, statusMiB("VmHWM"));
    std::printf("memory over %d photos: %.0f MiB after the first, peak %.0f MiB, ratio %.2f\n",
                photos, first, peak, peak / first);
}

}  // namespace
}  // namespace vesko

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PHOTO_FOLDER [PRESSES] [MEMORY_PHOTOS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const int presses = argc > 2 ? std::atoi(argv[2]) : 30;
    const int photos = argc > 3 ? std::atoi(argv[3]) : 200;
    vesko::Bench bench;
    std::printf(
        "| platform | renderer | presses | moved | key to frame median ms | p95 ms | "
        "decode median ms | p95 ms |\n|---|---|---|---|---|---|---|---|\n");
    vesko::keyToFrame(bench, source, presses);
    vesko::memory(bench, source, photos);
    return 0;
}
