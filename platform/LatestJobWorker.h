#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vesko {

// One thread that runs the latest job it is given: a job handed in while another waits replaces
// it, so that a quick series of requests (a pan, a burst of answers) ends with the newest one
// done, never a backlog. A running job is let finish. The destructor waits for it and drops
// any job still waiting.
class LatestJobWorker {
public:
    LatestJobWorker();
    ~LatestJobWorker();
    LatestJobWorker(const LatestJobWorker&) = delete;
    LatestJobWorker& operator=(const LatestJobWorker&) = delete;

    void submit(std::function<void()> job);

private:
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> waiting_;
    bool stopping_ = false;
    std::thread thread_;  // last, so that it starts once the rest is built
};

}  // namespace vesko
