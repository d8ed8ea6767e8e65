#pragma once

#include <functional>

namespace vesko::decoder {

// Runs `second` on a thread of its own while `first` runs on the calling thread, and returns
// when both are done; where no thread can be started, runs them one after the other. An
// exception from either is thrown again here, once both have finished.
void inParallel(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace vesko::decoder
