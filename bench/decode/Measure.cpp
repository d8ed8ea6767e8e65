#include "Measure.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>

namespace vesko::bench {
namespace {

// A line of /proc/self/status such as "VmHWM:  1234 kB", in KiB.
long statusKibibytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    }
    return 0;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace

double millisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count();
}

void returnFreedMemoryAtOnce() { mallopt(M_MMAP_THRESHOLD, 128 * 1024); }

double peakMebibytesOf(const std::function<void()>& work) {
    malloc_trim(0);
    resetPeak();
    const long before = statusKibibytes("VmRSS");
    work();
    return double(statusKibibytes("VmHWM") - before) / 1024;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

namespace {

double decodeAll(const Method& method, const std::vector<std::filesystem::path>& photos,
                 DisplayBound bound) {
    return millisecondsOf([&] {
        for (const auto& photo : photos) {
            if (method.decode(photo, bound) == 0) {
                std::cerr << method.name << " failed on " << photo << "\n";
            }
        }
    });
}

}  // namespace

std::vector<double> medianTimes(const std::vector<Method>& methods,
                                const std::vector<std::filesystem::path>& photos,
                                DisplayBound bound, int runs) {
    std::vector<std::vector<double>> times(methods.size());
    for (const Method& method : methods) decodeAll(method, {photos.front()}, bound);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t m = 0; m < methods.size(); ++m) {
            times[m].push_back(decodeAll(methods[m], photos, bound) / double(photos.size()));
        }
    }
    std::vector<double> medians;
    for (const auto& methodTimes : times) medians.push_back(median(methodTimes));
    return medians;
}

}  // namespace vesko::bench
