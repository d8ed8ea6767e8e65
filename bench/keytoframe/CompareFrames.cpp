// Compare, key to frame: the real window comparing a burst of 24 MP JPEGs (and 12 MP HEICs) in
// 2 and in 4 panes, at a dwell of 700 ms: from C (the classifier's compare) to the frame of the
// comparison, from choosing a pane to its frame, and from an answer in the chosen pane to the
// frame of its refilled pane; with every photo decoded before the run (the render floor) and with
// the app's decoder stack. Then the peak memory over 40 answers in compare against the memory
// after the first comparison. Every photo of the folder counts as one burst. Then Z in a
// comparison of 4 panes to every pane sharp, against decoding the regions in view on the cores
// there are, and the frame times of a drag at 100 % across the 4 panes.
//
// Usage: vesko_bench_compare [PHOTOS] [ROUNDS] [zoom|memory]   (offscreen:
// QT_QPA_PLATFORM=offscreen; a 4K screen: QT_QPA_OFFSCREEN... see docs/benchmarks.md)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "BenchDecoders.h"
#include "BenchWindow.h"
#include "PhotoFolder.h"
#include "app/ScreenDecoder.h"
#include "classifier/PhotoViewModel.h"
#include "platform/DecoderStack.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtMainThread.h"
#include "ui/ContentWindow.h"
#include "ui/PhotoView.h"
#include "ui/ViewModelBridge.h"

namespace vesko::bench {
namespace {

// Every file taken in the same second: the whole folder is one burst.
class OneBurst : public CaptureReader {
public:
    void readAhead(std::vector<std::string> files, Delivery deliver) override {
        for (const std::string& file : files) deliver(file, {.captureTime = "2026:05:01 10:00:00"});
    }
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::size_t(fraction * double(values.size() - 1))];
}

double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string key = std::string(field) + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
    }
    return 0;
}

struct Steps {
    std::vector<double> open, choose, answer;
};

class CompareBench {
public:
    CompareBench() {
        model_ = PhotoViewModel::create({
            .fileSystem = std::make_shared<PosixFileSystem>(),
            .imageDecoder = hinted_,
            .folderChooser = chooser_,
            .desktop = std::make_shared<RecordingDesktop>(),
            .mainThread = std::make_shared<QtMainThread>(),
            .captureReader = std::make_shared<OneBurst>(),
        });
        window_.reset(createContentView(engine_, model_, hinted_));
        window_->resize(benchWindowSize());
        window_->show();
        (void)QTest::qWaitForWindowExposed(window_.get());
        QObject::connect(window_.get(), &QQuickWindow::frameSwapped, [this] { ++frames_; });
        viewModel_ = window_->property("viewModel").value<ViewModelBridge*>();
    }

    void use(std::shared_ptr<ImageDecoder> decoder) { decoder_->use(std::move(decoder)); }
    void load(const PhotoFolder& folder) {
        chooser_->answer = folder.path();
        timed([&] { viewModel_->selectFolder(); });
        QTest::qWait(300);  // the capture times come in
    }
    void back() {
        timed([&] { viewModel_->reset(); });
    }

    // Milliseconds from the step to the next frame swapped.
    double timed(const std::function<void()>& step) {
        const int before = frames_;
        QElapsedTimer timer;
        timer.start();
        step();
        QElapsedTimer timeout;
        timeout.start();
        while (frames_ == before && timeout.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        return double(timer.nsecsElapsed()) / 1e6;
    }

    ViewModelBridge& viewModel() { return *viewModel_; }
    QQuickWindow* window() { return window_.get(); }
    // The panes' views, from the left (the panes are items of a Repeater, not QObject children).
    std::vector<PhotoView*> panes() const {
        std::vector<PhotoView*> views;
        const std::function<void(QQuickItem*)> collect = [&](QQuickItem* item) {
            if (auto* view = qobject_cast<PhotoView*>(item);
                view && item->parentItem()->objectName().startsWith("comparePane"))
                views.push_back(view);
            for (QQuickItem* child : item->childItems()) collect(child);
        };
        collect(window_->contentItem());
        std::ranges::sort(views, {}, [](PhotoView* view) { return view->parentItem()->x(); });
        return views;
    }

private:
    std::shared_ptr<SwitchedDecoder> decoder_ = std::make_shared<SwitchedDecoder>();
    // The zoom learns the photos shown from the hint, as in the app.
    std::shared_ptr<HintedDecoder> hinted_ = std::make_shared<HintedDecoder>(decoder_);
    std::shared_ptr<ScriptedFolderChooser> chooser_ = std::make_shared<ScriptedFolderChooser>();
    std::shared_ptr<PhotoViewModel> model_;
    QQmlEngine engine_;
    std::unique_ptr<QQuickWindow> window_;
    ViewModelBridge* viewModel_ = nullptr;
    int frames_ = 0;
};

constexpr int kDwellMs = 700;

// Rounds of: compare, choose the last pane, answer it Yes, leave; the photos answered stay so.
Steps run(CompareBench& bench, const std::filesystem::path& source, int panes, int rounds,
          const std::shared_ptr<ImageDecoder>& decoder, bool decodeAllFirst,
          const std::shared_ptr<const ImageDecoder>& inner) {
    PhotoFolder folder(source, rounds + panes + 2);
    bench.use(decodeAllFirst ? std::make_shared<AlreadyDecoded>(*inner, folder.path()) : decoder);
    bench.load(folder);
    Steps steps;
    for (int round = 0; round < rounds; ++round) {
        QTest::qWait(kDwellMs);
        steps.open.push_back(bench.timed([&] { bench.viewModel().compare(panes); }));
        QTest::qWait(kDwellMs);
        steps.choose.push_back(bench.timed([&] { bench.viewModel().choosePane(panes - 1); }));
        QTest::qWait(kDwellMs);
        steps.answer.push_back(
            bench.timed([&] { QTest::keyClick(bench.window(), Qt::Key_Return); }));
        bench.timed([&] { bench.viewModel().endComparison(); });
    }
    bench.back();
    bench.use(nullptr);
    return steps;
}

void printRow(const char* format, int panes, const char* decoder, const Steps& s,
              const Steps* floor) {
    const auto cell = [](const std::vector<double>& v) {
        static char text[4][48];
        static int next = 0;
        char* out = text[next++ % 4];
        std::snprintf(out, 48, "%.1f / %.1f", percentile(v, 0.5), percentile(v, 0.95));
        return out;
    };
    const bool met = floor && percentile(s.open, 0.5) <= percentile(floor->open, 0.5) + 5 &&
                     percentile(s.choose, 0.5) <= percentile(floor->choose, 0.5) + 5 &&
                     percentile(s.answer, 0.5) <= percentile(floor->answer, 0.5) + 5;
    std::printf("| %s | %d | %s | %s | %s | %s | %s |\n", format, panes, decoder, cell(s.open),
                cell(s.choose), cell(s.answer), floor ? (met ? "met" : "missed") : "");
    std::fflush(stdout);
}

// Peak memory over 40 answers in a comparison of 4 panes, against the memory after it opened.
void memory(CompareBench& bench, const std::filesystem::path& source,
            const std::shared_ptr<const ImageDecoder>& inner) {
    PhotoFolder folder(source, 48);
    bench.use(decoderStackOver(inner));
    bench.load(folder);
    bench.timed([&] { bench.viewModel().compare(4); });
    QTest::qWait(kDwellMs);
    const double first = statusMiB("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";
    double highest = first;
    for (int i = 0; i < 40; ++i) {
        bench.timed([&] { QTest::keyClick(bench.window(), Qt::Key_Return); });
        highest = std::max(highest, statusMiB("VmRSS"));
    }
    const double peak = std::max(highest, statusMiB("VmHWM"));
    std::printf(
        "\nmemory over 40 answers in compare: %.0f MiB after the first comparison, peak "
        "%.0f MiB, %.2f x (goal 1.5 x): %s\n",
        first, peak, peak / first, peak <= 1.5 * first ? "met" : "missed");
    bench.back();
    bench.use(nullptr);
}

// The regions in view of every pane, decoded at once on the cores there are: the floor of Z.
double regionsInView(const ImageDecoder& decoder, const std::vector<PhotoView*>& panes,
                     const std::vector<std::string>& files) {
    QElapsedTimer timer;
    timer.start();
    std::vector<std::future<void>> running;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (std::size_t first = 0; first < cores; ++first) {
        running.push_back(std::async(std::launch::async, [&, first] {
            for (std::size_t i = first; i < files.size(); i += cores) {
                const QSizeF view = panes[i]->size();
                const QPointF at =
                    panes[i]->zoomCentre() - QPointF(view.width(), view.height()) / 2;
                (void)decoder.decodeRegion(
                    files[i], {int(at.x()), int(at.y()), int(view.width()), int(view.height())});
            }
        }));
    }
    for (auto& task : running) task.get();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Z in a comparison of 4 panes until every pane is sharp, against the floor; then a drag across
// them at 100 %, one frame a step.
void zoomAndDrag(CompareBench& bench, const std::filesystem::path& source, int rounds,
                 const std::shared_ptr<const ImageDecoder>& inner) {
    PhotoFolder folder(source, rounds * 4 + 6);
    const std::shared_ptr<HintedDecoder> stack = decoderStackOver(inner);
    bench.use(stack);
    bench.load(folder);
    std::vector<double> zoom, floor, drag;
    for (int round = 0; round < rounds; ++round) {
        bench.timed([&] { bench.viewModel().compare(4); });
        QTest::qWait(kDwellMs);
        const std::vector<PhotoView*> panes = bench.panes();
        const auto allSharp = [&] {
            return std::ranges::all_of(panes, [](PhotoView* pane) { return pane->sharp(); });
        };
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(bench.window(), Qt::Key_Z);
        while (!allSharp() && timer.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        // The last pane to turn sharp has asked for its frame: the one that shows them all.
        zoom.push_back(double(timer.nsecsElapsed()) / 1e6 + bench.timed([] {}));
        QTest::qWait(kDwellMs);  // the margins and the photo ahead decoded: the floor alone
        std::vector<std::string> files;
        for (PhotoView* pane : panes) {
            const QString path =
                pane->photoPath().isEmpty() ? pane->loader()->currentPhoto() : pane->photoPath();
            files.push_back(QFile::encodeName(path).toStdString());
        }
        floor.push_back(regionsInView(*stack, panes, files));
        // As a drag of the first pane does: it moves itself and, through its signal, the rest.
        for (int step = 0; step < 60; ++step) {
            const QPointF delta(step < 30 ? -6 : 6, step % 2 ? -3 : 3);
            drag.push_back(bench.timed([&] {
                panes.front()->pan(delta);
                emit panes.front()->dragged(delta, false);
            }));
        }
        QTest::keyClick(bench.window(), Qt::Key_Escape);
        QTest::keyClick(bench.window(), Qt::Key_Return);
        bench.timed([&] { bench.viewModel().endComparison(); });
    }
    std::printf(
        "\nZ to every one of 4 panes sharp: median %.1f ms, against their regions in view decoded "
        "on %u cores %.1f ms: %.2f x (goal 1.3 x): %s\n",
        percentile(zoom, 0.5), std::thread::hardware_concurrency(), percentile(floor, 0.5),
        percentile(zoom, 0.5) / percentile(floor, 0.5),
        percentile(zoom, 0.5) <= 1.3 * percentile(floor, 0.5) ? "met" : "missed");
    std::printf(
        "a drag at 100 %% across 4 panes: frame median %.1f ms, p95 %.1f ms (goal 16.7): %s\n",
        percentile(drag, 0.5), percentile(drag, 0.95),
        percentile(drag, 0.95) <= 16.7 ? "met" : "missed");
    bench.back();
    bench.use(nullptr);
}

}  // namespace
}  // namespace vesko::bench

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    using namespace vesko::bench;
    const std::filesystem::path photos = argc > 1 ? argv[1] : VESKO_PHOTOS_DIR;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const std::string only = argc > 3 ? argv[3] : "";
    const bool zoomOnly = only == "zoom";
    const auto inner = vesko::decoderForScreens();
    CompareBench bench;
    std::printf(
        "| format | panes | decoder | C median / p95 ms | choose | answer | targets |\n"
        "|---|---|---|---|---|---|---|\n");
    for (const char* format : {"jpeg", "heic"}) {
        for (const int panes : {2, 4}) {
            if (!only.empty()) break;
            const Steps floor = run(bench, photos / format, panes, rounds, nullptr, true, inner);
            printRow(format, panes, "window alone", floor, nullptr);
            const Steps ahead = run(bench, photos / format, panes, rounds,
                                    vesko::decoderStackOver(inner), false, inner);
            printRow(format, panes, "ahead", ahead, &floor);
        }
    }
    if (!zoomOnly) memory(bench, photos / "jpeg", inner);
    if (only == "memory") return 0;
    for (const char* format : {"jpeg", "heic"}) {
        std::printf("\n%s:", format);
        zoomAndDrag(bench, photos / format, rounds, inner);
    }
    return 0;
}
