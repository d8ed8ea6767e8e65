// Folder intake against a bare listing of the same folder, and the cost of one decision as the
// queue grows. Run: build/bench/vesko_bench_classifier
#include <benchmark/benchmark.h>
#include <dirent.h>

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

namespace vesko {
namespace {

class NoImages : public ImageDecoder {
public:
    ImageHandle decode(const std::filesystem::path&) const override { return nullptr; }
};

std::shared_ptr<PhotoViewModel> makeClassifier(std::shared_ptr<FileSystem> fs) {
    return PhotoViewModel::create(
        {std::move(fs), std::make_shared<NoImages>(), std::make_shared<ScriptedFolderChooser>(),
         std::make_shared<RecordingDesktop>(), std::make_shared<QueuedMainThread>()});
}

// One folder of `count` entries per size, made once: nine photos in ten, the rest other files.
const std::filesystem::path& folderOf(std::int64_t count) {
    static std::map<std::int64_t, std::filesystem::path> folders;
    auto& folder = folders[count];
    if (folder.empty()) {
        folder = std::filesystem::temp_directory_path() /
                 ("vesko-bench-" + std::to_string(count) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (std::int64_t i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, i % 10 ? "IMG_%06lld.JPG" : "notes_%06lld.txt",
                          static_cast<long long>(i));
            std::ofstream(folder / name);
        }
    }
    return folder;
}

void BareListing(benchmark::State& state) {
    const auto& folder = folderOf(state.range(0));
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
    const auto& folder = folderOf(state.range(0));
    auto classifier = makeClassifier(std::make_shared<PosixFileSystem>());
    for (auto _ : state) {
        classifier->loadFolder(folder);
        state.PauseTiming();
        classifier->reset();
        state.ResumeTiming();
    }
    state.counters["photos"] = static_cast<double>(classifier->remaining());
}

// Maybe, Yes whose move fails, and its undo: three decisions that leave the queue as it was.
void Decisions(benchmark::State& state) {
    auto disk = std::make_shared<InMemoryFileSystem>();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        disk->addFile("/p/" + std::to_string(i) + ".jpg");
    }
    auto fs = std::make_shared<FailingFileSystem>(disk);
    fs->fail(FailingFileSystem::Operation::move);
    fs->fail(FailingFileSystem::Operation::createDirectories);
    auto classifier = makeClassifier(fs);
    classifier->loadFolder("/p");
    for (auto _ : state) {
        classifier->skipCurrent();
        classifier->classifyCurrent(kSelectedFolder);
        classifier->undoLast();
    }
    state.SetItemsProcessed(state.iterations() * 3);
}

BENCHMARK(BareListing)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFolder)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(Decisions)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kNanosecond);

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
            std::printf("%-22s / %-22s = %.2f\n", measured.c_str(), baseline.c_str(),
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
    reporter.printRatio("LoadFolder/10000", "BareListing/10000");
    reporter.printRatio("LoadFolder/100000", "BareListing/100000");
    reporter.printRatio("Decisions/100000", "Decisions/1000");
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
