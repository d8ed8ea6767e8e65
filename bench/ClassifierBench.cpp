// Folder intake against a bare listing of the same folder, the cost of one decision as the
// queue grows, and of an answer on a shot of three files with the move journal and without.
// Run: build/bench/vesko_bench_classifier
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "classifier/PhotoViewModel.h"
#include "platform/fakes/FailingFileSystem.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/fakes/InMemoryFileSystem.h"
#include "platform/fakes/QueuedMainThread.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixMoveJournal.h"

namespace vesko {
namespace {

class NoImages : public ImageDecoder {
public:
    ImageHandle decode(const std::filesystem::path&) const override { return nullptr; }
};

std::shared_ptr<PhotoViewModel> makeClassifier(std::shared_ptr<FileSystem> fs,
                                               std::shared_ptr<MoveJournal> journal = nullptr) {
    return PhotoViewModel::create(
        {std::move(fs), std::make_shared<NoImages>(), std::make_shared<ScriptedFolderChooser>(),
         std::make_shared<RecordingDesktop>(), std::make_shared<QueuedMainThread>(),
         std::make_shared<MemoryPreferences>(), std::move(journal)});
}

// What a benchmark folder holds besides its photos.
enum class Kind {
    plain = 0,  // nine photos in ten, the rest other files
    pairs = 1,  // half the entries JPEG+RAW pairs, the rest lone photos
    shots = 2,  // every photo with a RAW and two sidecars
};

void writeEntries(const std::filesystem::path& folder, std::int64_t count, Kind kind) {
    char name[40];
    const auto touch = [&](const char* format, long long i) {
        std::snprintf(name, sizeof name, format, i);
        std::ofstream(folder / name);
    };
    for (long long i = 0; i < count;) {
        if (kind == Kind::plain) {
            touch(i % 10 ? "IMG_%06lld.JPG" : "notes_%06lld.txt", i);
            i += 1;
        } else if (kind == Kind::pairs && i % 4 >= 2) {
            touch("IMG_%06lld.JPG", i);
            i += 1;
        } else {
            touch("IMG_%06lld.JPG", i);
            touch("IMG_%06lld.CR3", i);
            if (kind == Kind::shots) {
                touch("IMG_%06lld.CR3.xmp", i);
                touch("IMG_%06lld.xmp", i);
            }
            i += kind == Kind::shots ? 4 : 2;
        }
    }
}

// One folder of `count` entries per size and kind, made once.
const std::filesystem::path& folderOf(std::int64_t count, Kind kind = Kind::plain) {
    static std::map<std::pair<std::int64_t, Kind>, std::filesystem::path> folders;
    auto& folder = folders[{count, kind}];
    if (folder.empty()) {
        folder = std::filesystem::temp_directory_path() /
                 ("vesko-bench-" + std::to_string(count) + "-" +
                  std::to_string(static_cast<int>(kind)) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        writeEntries(folder, count, kind);
    }
    return folder;
}

void BareListing(benchmark::State& state) {
    const auto& folder = folderOf(state.range(0), static_cast<Kind>(state.range(1)));
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        std::size_t entries = 0;
        while (::readdir(dir)) {
            ++entries;
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(entries);
    }
}

void LoadFolder(benchmark::State& state) {
    const auto& folder = folderOf(state.range(0), static_cast<Kind>(state.range(1)));
    auto classifier = makeClassifier(std::make_shared<PosixFileSystem>());
    for (auto _ : state) {
        classifier->loadFolder(folder);
        state.PauseTiming();
        classifier->reset();
        state.ResumeTiming();
    }
    state.counters["photos"] = static_cast<double>(classifier->remaining());
}

// Maybe, Yes and its Undo, on shots of a photo, a RAW and a sidecar: three decisions that
// leave the queue as it was.
void Decisions(benchmark::State& state) {
    auto disk = std::make_shared<InMemoryFileSystem>();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        for (const char* extension : {".jpg", ".CR3", ".xmp"}) {
            disk->addFile("/p/" + std::to_string(i) + extension);
        }
    }
    auto classifier = makeClassifier(disk);
    classifier->loadFolder("/p");
    for (auto _ : state) {
        classifier->skipCurrent();
        classifier->classifyCurrent(kSelectedFolder);
        classifier->undoLast();
    }
    state.SetItemsProcessed(state.iterations() * 3);
}

double percentile(std::vector<double> values, double rank) {
    std::ranges::sort(values);
    return values[static_cast<std::size_t>(rank * static_cast<double>(values.size() - 1))];
}

// Yes and Undo on a shot of a JPEG, a CR3 and an XMP, on the real file system of the build
// folder (where the benchmark lives), each answer timed alone: without the journal (0), with it
// in the page cache (1), and synced for power cuts (2). Counters in microseconds.
void AnswerOnShot(benchmark::State& state) {
    const auto scratch = std::filesystem::canonical("/proc/self/exe").parent_path() /
                         ("answer-scratch-" + std::to_string(::getpid()));
    const auto folder = scratch / "photos";
    std::filesystem::create_directories(folder);
    for (const char* name : {"IMG_0001.JPG", "IMG_0001.CR3", "IMG_0001.xmp"}) {
        std::ofstream(folder / name) << std::string(4096, 'x');
    }
    std::shared_ptr<MoveJournal> journal;
    if (state.range(0) > 0) {
        journal = std::make_shared<PosixMoveJournal>(
            scratch / "state", state.range(0) == 1 ? PosixMoveJournal::Durability::processEnd
                                                   : PosixMoveJournal::Durability::powerCut);
    }
    auto classifier = makeClassifier(std::make_shared<PosixFileSystem>(), journal);
    classifier->loadFolder(folder);
    std::vector<double> micros;
    const auto timed = [&](auto answer) {
        const auto start = std::chrono::steady_clock::now();
        answer();
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    };
    for (auto _ : state) {
        timed([&] { classifier->classifyCurrent(kSelectedFolder); });
        timed([&] { classifier->undoLast(); });
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.SetItemsProcessed(state.iterations() * 2);
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

// {entries, kind}: plain folders of two sizes, 100,000 entries half in pairs, and 50,000 shots
// of four files.
void Folders(benchmark::internal::Benchmark* b) {
    b->Args({10'000, 0})->Args({100'000, 0})->Args({100'000, 1})->Args({200'000, 2});
}
BENCHMARK(BareListing)->Apply(Folders)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFolder)->Apply(Folders)->Unit(benchmark::kMillisecond);
BENCHMARK(Decisions)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kNanosecond);
BENCHMARK(AnswerOnShot)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesko

// Prints the runs as usual, then each measurement as a ratio to its baseline of the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
            }
        }
    }
    void printRatio(const std::string& measured, const std::string& baseline) const {
        const auto m = times_.find(measured);
        const auto b = times_.find(baseline);
        if (m != times_.end() && b != times_.end()) {
            std::printf("%-26s / %-26s = %.2f\n", measured.c_str(), baseline.c_str(),
                        m->second / b->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const char* folder : {"/10000/0", "/100000/0", "/100000/1", "/200000/2"}) {
        reporter.printRatio(std::string("LoadFolder") + folder,
                            std::string("BareListing") + folder);
    }
    reporter.printRatio("Decisions/100000", "Decisions/1000");
    reporter.printRatio("AnswerOnShot/1", "AnswerOnShot/0");
    reporter.printRatio("AnswerOnShot/2", "AnswerOnShot/0");
    // The folders live only for this run.
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ignored)) {
        if (entry.path().filename().native().starts_with("vesko-bench-")) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }
    return 0;
}
