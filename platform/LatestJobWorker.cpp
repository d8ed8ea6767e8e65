#include "LatestJobWorker.h"

#include <utility>

namespace vesko {

LatestJobWorker::LatestJobWorker() : thread_([this] { work(); }) {}

LatestJobWorker::~LatestJobWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_ = nullptr;
    }
    changed_.notify_all();
    thread_.join();
}

void LatestJobWorker::submit(std::function<void()> job) {
    std::function<void()> replaced;  // destroyed outside the lock
    {
        std::lock_guard lock(mutex_);
        replaced = std::exchange(waiting_, std::move(job));
    }
    changed_.notify_all();
}

void LatestJobWorker::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        std::function<void()> job = std::exchange(waiting_, nullptr);
        lock.unlock();
        try {
            job();
        } catch (...) {
            // A failed job costs its own result only.
        }
        job = nullptr;
        lock.lock();
    }
}

}  // namespace vesko
