// What reading the shooting facts adds to the decode of a photo: exiv2 on the bytes already in
// memory, against the decode of those bytes to the screen, alternating photo by photo. Then the
// capture times read ahead of the user: the facts from the file itself, its start only where
// that tells the time (the page cache warm, as after the listing), against the same decode.
//
//   vesko_bench_facts [photo folder] [runs]

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "LibraryCalls.h"
#include "Measure.h"
#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"
#include "platform/decoder/ShootingFactsReader.h"

namespace vesko::bench {
namespace {

using Path = std::filesystem::path;
using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> filesIn(const Path& folder) {
    std::vector<Bytes> files;
    for (const Path& photo : photosIn(folder)) {
        if (auto bytes = decoder::readWholeFile(photo)) files.push_back(std::move(*bytes));
    }
    return files;
}

void measure(const std::string& format, const std::vector<Bytes>& files, int runs) {
    std::vector<double> decodes, facts;
    std::size_t read = 0;
    for (int run = 0; run < runs; ++run) {
        for (const Bytes& file : files) {
            decodes.push_back(millisecondsOf([&] { decoder::decodeAny(file, {1368, 900}); }));
            facts.push_back(millisecondsOf(
                [&] { read += decoder::readShootingFacts(file).model.empty() ? 0 : 1; }));
        }
    }
    const double decode = median(decodes), reading = median(facts);
    std::printf("| %s | %zu | %.1f | %.3f | %.2f %% | %zu of %zu |\n", format.c_str(), files.size(),
                decode, reading, 100 * reading / decode, read, files.size() * std::size_t(runs));
}

double slowest(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::size_t(fraction * double(values.size() - 1))];
}

void measureAhead(const std::string& format, const Path& folder, int runs) {
    const std::vector<Path> photos = photosIn(folder);
    std::vector<double> decodes, ahead;
    std::size_t timed = 0;
    for (int run = 0; run < runs; ++run) {
        for (const Path& photo : photos) {
            const auto bytes = decoder::readWholeFile(photo);
            if (!bytes) continue;
            decodes.push_back(millisecondsOf([&] { decoder::decodeAny(*bytes, {1368, 900}); }));
            ahead.push_back(millisecondsOf([&] {
                timed += decoder::readShootingFactsOfFile(photo).captureTime.empty() ? 0 : 1;
            }));
        }
    }
    const double decode = median(decodes), reading = median(ahead);
    std::printf("| %s | %zu | %.1f | %.3f | %.3f | %.2f %% | %zu of %zu |\n", format.c_str(),
                photos.size(), decode, reading, slowest(ahead, 0.95), 100 * reading / decode, timed,
                photos.size() * std::size_t(runs));
}

}  // namespace
}  // namespace vesko::bench

int main(int argc, char** argv) {
    using namespace vesko::bench;
    const Path photos = argc > 1 ? Path(argv[1]) : Path(VESKO_PHOTOS_DIR);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    std::printf(
        "Shooting facts against the decode at 1368 x 900, median ms per photo of %d runs\n\n"
        "| Format | Photos | Decode | Facts | Facts / decode | With a camera model |\n"
        "|---|---|---|---|---|---|\n",
        runs);
    measure("JPEG", filesIn(photos / "jpeg"), runs);
    measure("HEIC", filesIn(photos / "heic"), runs);
    std::printf(
        "\nCapture times read ahead from the files, ms per photo of %d runs\n\n"
        "| Format | Photos | Decode | Read ahead (median) | Read ahead (p95) | Read / decode | "
        "With a time |\n|---|---|---|---|---|---|---|\n",
        runs);
    for (const char* format : {"jpeg", "heic", "webp"}) measureAhead(format, photos / format, runs);
    return 0;
}
