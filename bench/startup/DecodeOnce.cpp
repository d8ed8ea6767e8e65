// Decodes each photo given once at the screen bound given, as Vesko does its first photo, and
// prints the median of `repeats` decodes of each in milliseconds: "<file> <ms>".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/decoder/PhotoDecoder.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT REPEATS PHOTO...\n", argv[0]);
        return 2;
    }
    const vesko::PhotoDecoder decoder({std::atoi(argv[1]), std::atoi(argv[2])});
    const int repeats = std::max(1, std::atoi(argv[3]));
    for (int index = 4; index < argc; ++index) {
        std::vector<double> times;
        for (int run = 0; run < repeats; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const bool decoded = decoder.decode(argv[index]) != nullptr;
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (!decoded) {
                std::fprintf(stderr, "%s: no picture\n", argv[index]);
                return 1;
            }
            times.push_back(took.count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.1f\n", argv[index], times[times.size() / 2]);
    }
    return 0;
}
