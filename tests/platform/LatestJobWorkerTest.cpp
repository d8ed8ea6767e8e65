#include "platform/LatestJobWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <vector>

namespace vesko {
namespace {

// Jobs handed in while one runs: those replaced never run, the last one always does, also
// after the running one threw, and the results come from one thread at a time.
TEST(LatestJobWorkerTest, RunsTheLatestJobAndDropsTheOnesItReplaced) {
    std::vector<int> ran;  // touched by the worker only, read after it is gone
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    {
        LatestJobWorker worker;
        worker.submit([&] {
            started.set_value();
            released.wait();
            ran.push_back(0);
            throw 0;
        });
        started.get_future().wait();
        for (int i = 1; i <= 20; ++i) {
            worker.submit([&ran, i] { ran.push_back(i); });
        }
        std::promise<void> lastDone;
        worker.submit([&] {
            ran.push_back(99);
            lastDone.set_value();
        });
        release.set_value();
        lastDone.get_future().wait();
    }
    EXPECT_EQ(ran, (std::vector<int>{0, 99}));
}

}  // namespace
}  // namespace vesko
