#pragma once

#include <functional>
#include <vector>

namespace vesko::bench {

// Milliseconds taken by `work`.
double millisecondsOf(const std::function<void()>& work);

// Makes freed blocks go back to the system at once, so that resident size follows what is in
// use. For a process of its own that only measures memory: it changes how fast malloc is.
void returnFreedMemoryAtOnce();

// The most memory `work` adds to the process's resident size at any moment, in MiB.
double peakMebibytesOf(const std::function<void()>& work);

double median(std::vector<double> values);

}  // namespace vesko::bench
