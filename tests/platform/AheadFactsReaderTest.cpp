#include "platform/AheadFactsReader.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <vector>

namespace vesko {
namespace {

// What the reading thread shares with the test, which it may outlive.
struct Gate {
    std::promise<void> started, release, blocking, unblock;
    std::shared_future<void> released = release.get_future().share();
    std::shared_future<void> unblocked = unblock.get_future().share();
    std::promise<void> lastDelivered;
    std::mutex mutex;
    std::vector<std::string> delivered;
};

// The files of the latest request are read in order, a request replaces the one before, and
// the reader's end never waits for the read it is in.
TEST(AheadFactsReaderTest, ReadsTheLatestRequestAndNeverWaitsToEnd) {
    auto gate = std::make_shared<Gate>();
    auto reader = std::make_unique<AheadFactsReader>([gate](const std::string& file) {
        if (file == "first") {
            gate->started.set_value();
            gate->released.wait();
        } else if (file == "blocked") {
            gate->blocking.set_value();
            gate->unblocked.wait();
        }
        return ShootingFacts{.captureTime = file};
    });
    auto deliver = [gate](const std::string& file, const ShootingFacts& facts) {
        std::lock_guard lock(gate->mutex);
        gate->delivered.push_back(facts.captureTime);
        if (file == "c") gate->lastDelivered.set_value();
    };
    reader->readAhead({"first", "never"}, deliver);
    gate->started.get_future().wait();
    reader->readAhead({"b", "c", "blocked"}, deliver);
    auto delivered = gate->lastDelivered.get_future();
    gate->release.set_value();
    delivered.wait();
    gate->blocking.get_future().wait();
    reader.reset();
    gate->unblock.set_value();
    std::lock_guard lock(gate->mutex);
    EXPECT_EQ(gate->delivered, (std::vector<std::string>{"first", "b", "c"}));
}

}  // namespace
}  // namespace vesko
