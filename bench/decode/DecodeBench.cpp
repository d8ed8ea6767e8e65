// Time from file path to display-ready pixels, per format and screen bound, for Vesko's decoder
// and for the baselines it must stay close to or beat. Prints a Markdown table.
//
//   vesko_bench_decode [photo folder] [runs]
//
// Peak memory is measured in a fresh copy of this program per method (--peak ...), since
// Qt's scaler keeps worker threads that a fork could not take along.

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

#include "Baselines.h"
#include "LibraryCalls.h"
#include "Measure.h"
#include "PngCopies.h"
#include "platform/decoder/PhotoDecoder.h"

namespace vesko::bench {
namespace {

struct Format {
    std::string name;
    std::vector<Path> photos;
    Method raw;
    bool qtReads;
};

struct Result {
    double milliseconds = 0;
    double peakMebibytes = 0;
};

std::vector<Format> formatsIn(const Path& photos) {
    const std::vector<Path> jpegs = photosIn(photos / "jpeg");
    return {
        {"JPEG", jpegs, {"libjpeg-turbo DCT-scaled", rawJpegScaled}, true},
        {"PNG", pngCopiesOf(jpegs, Path(VESKO_BENCH_PNG_DIR)), {"libpng full", rawPngFull}, true},
        {"WebP", photosIn(photos / "webp"), {"libwebp scaled", rawWebpScaled}, true},
        {"HEIC", photosIn(photos / "heic"), {"libheif full", rawHeicFull}, false},
    };
}

std::vector<Method> methodsFor(const Format& format) {
    std::vector<Method> methods = {{"Vesko", viaVesko}, format.raw};
    if (format.qtReads) {
        methods.push_back({"Qt read + scale", qtFullThenScale});
        methods.push_back({"Qt scaled read", qtScaledRead});
    }
    return methods;
}

// Child mode: the largest peak of one method over the photos of one format.
int printPeak(const Path& photos, const std::string& formatName, std::size_t methodIndex,
              DisplayBound bound) {
    returnFreedMemoryAtOnce();
    for (const Format& format : formatsIn(photos)) {
        if (format.name != formatName) continue;
        const Method method = methodsFor(format).at(methodIndex);
        double peak = 0;
        for (const Path& photo : format.photos) {
            peak = std::max(peak, peakMebibytesOf([&] { method.decode(photo, bound); }));
        }
        std::cout << peak << std::endl;
        return 0;
    }
    return 1;
}

double peakInChild(const Path& photos, const std::string& format, std::size_t method,
                   DisplayBound bound) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "'" + self + "' --peak '" + photos.string() + "' " + format + " " +
                                std::to_string(method) + " " + std::to_string(bound.width) + " " +
                                std::to_string(bound.height);
    FILE* child = ::popen(command.c_str(), "r");
    if (!child) return -1;
    double peak = -1;
    if (std::fscanf(child, "%lf", &peak) != 1) peak = -1;
    ::pclose(child);
    return peak;
}

std::string cell(double value, int decimals = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void printRow(const Format& format, DisplayBound bound, const std::vector<Result>& results) {
    const Result& vesko = results[0];
    const Result& raw = results[1];
    std::cout << "| " << format.name << " | " << bound.width << "x" << bound.height << " | "
              << cell(vesko.milliseconds) << " | " << cell(raw.milliseconds) << " ("
              << format.raw.name << ") | " << cell(vesko.milliseconds / raw.milliseconds, 2)
              << " | ";
    if (format.qtReads) {
        std::cout << cell(results[2].milliseconds) << " | "
                  << cell(vesko.milliseconds / results[2].milliseconds, 2) << " | "
                  << cell(results[3].milliseconds) << " | ";
    } else {
        std::cout << "no reader | | no reader | ";
    }
    std::cout << cell(vesko.peakMebibytes) << " / " << cell(raw.peakMebibytes);
    if (format.qtReads) std::cout << " / " << cell(results[2].peakMebibytes);
    std::cout << " |" << std::endl;
}

void printHeader(int runs, std::size_t photos) {
    std::cout << "Milliseconds per photo (median of " << runs << " runs over " << photos
              << " photos of 4032 x 3024); peak memory is the most one decode adds to the "
                 "process (MiB).\n\n"
              << "| Format | Bound | Vesko | Raw library call | Vesko ÷ raw | Qt read + smooth "
                 "scale | Vesko ÷ Qt | Qt scaled read | Peak MiB Vesko / raw / Qt |\n"
              << "|---|---|---|---|---|---|---|---|---|" << std::endl;
}

int runAll(const Path& photos, int runs) {
    const std::vector<Format> formats = formatsIn(photos);
    printHeader(runs, formats.front().photos.size());
    for (const Format& format : formats) {
        for (const DisplayBound bound : {DisplayBound{1368, 900}, DisplayBound{2736, 1800}}) {
            const std::vector<Method> methods = methodsFor(format);
            const std::vector<double> times = medianTimes(methods, format.photos, bound, runs);
            std::vector<Result> results;
            for (std::size_t m = 0; m < methods.size(); ++m) {
                results.push_back({times[m], peakInChild(photos, format.name, m, bound)});
            }
            printRow(format, bound, results);
        }
    }
    return 0;
}

}  // namespace
}  // namespace vesko::bench

int main(int argc, char** argv) {
    using namespace vesko::bench;
    QCoreApplication application(argc, argv);  // QImageReader finds its plugins through it
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 6 && args[0] == "--peak") {
        return printPeak(args[1], args[2], std::stoul(args[3]),
                         {std::stoi(args[4]), std::stoi(args[5])});
    }
    const Path photos = args.size() > 0 ? Path(args[0]) : Path(VESKO_PHOTOS_DIR);
    const int runs = args.size() > 1 ? std::max(1, std::stoi(args[1])) : 7;
    return runAll(photos, runs);
}
