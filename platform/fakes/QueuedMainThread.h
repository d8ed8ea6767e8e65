#pragma once

#include <deque>
#include <mutex>
#include <thread>

#include "platform/MainThread.h"

namespace vesko {

// A main thread whose jobs wait in a queue until the test runs them. The thread that creates
// it is the main thread. post() may be called from any thread.
class QueuedMainThread : public MainThread {
public:
    void post(Job job) override;
    bool isMainThread() const override;

    // Runs the queued jobs, also those they post, until none is left; returns how many ran.
    int drain();
    std::size_t pending() const;

private:
    const std::thread::id mainId_ = std::this_thread::get_id();
    mutable std::mutex mutex_;
    std::deque<Job> jobs_;
};

}  // namespace vesko
