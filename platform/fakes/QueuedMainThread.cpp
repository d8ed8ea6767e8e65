#include "QueuedMainThread.h"

namespace vesko {

void QueuedMainThread::post(Job job) {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
}

bool QueuedMainThread::isMainThread() const { return std::this_thread::get_id() == mainId_; }

int QueuedMainThread::drain() {
    int ran = 0;
    for (;;) {
        Job job;
        {
            const std::lock_guard lock(mutex_);
            if (jobs_.empty()) {
                return ran;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
        ++ran;
    }
}

std::size_t QueuedMainThread::pending() const {
    const std::lock_guard lock(mutex_);
    return jobs_.size();
}

}  // namespace vesko
