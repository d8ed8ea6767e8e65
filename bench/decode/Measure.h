#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/decoder/DisplayBound.h"

namespace vesko::bench {

// Milliseconds taken by `work`.
double millisecondsOf(const std::function<void()>& work);

// Makes freed blocks go back to the system at once, so that resident size follows what is in
// use. For a process of its own that only measures memory: it changes how fast malloc is.
void returnFreedMemoryAtOnce();

// The most memory `work` adds to the process's resident size at any moment, in MiB.
double peakMebibytesOf(const std::function<void()>& work);

double median(std::vector<double> values);

// One way from a file to pixels at a bound; returns the bytes decoded, 0 on failure.
using Decode = std::function<unsigned long(const std::filesystem::path&, DisplayBound)>;

struct Method {
    std::string name;
    Decode decode;
};

// Each method's median milliseconds per photo over `runs` runs of all the photos. Runs
// alternate between the methods, so that a slow spell of the machine hits all alike.
std::vector<double> medianTimes(const std::vector<Method>& methods,
                                const std::vector<std::filesystem::path>& photos,
                                DisplayBound bound, int runs);

}  // namespace vesko::bench
