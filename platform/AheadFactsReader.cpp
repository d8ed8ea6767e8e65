#include "AheadFactsReader.h"

#include <sched.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace vesko {

struct AheadFactsReader::Shared {
    explicit Shared(Read readFacts) : read(std::move(readFacts)) {}

    const Read read;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> files;
    Delivery deliver;
    bool stopping = false;
};

AheadFactsReader::AheadFactsReader(Read read) : shared_(std::make_shared<Shared>(std::move(read))) {
    // Without a thread nothing is read ahead, and no photo is known to be in a burst.
    try {
        std::thread([shared = shared_] { work(shared); }).detach();
    } catch (const std::system_error&) {
    }
}

AheadFactsReader::~AheadFactsReader() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        shared_->files.clear();
        shared_->deliver = nullptr;
    }
    shared_->changed.notify_all();
}

void AheadFactsReader::readAhead(std::vector<std::string> files, Delivery deliver) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->files.assign(std::make_move_iterator(files.begin()),
                              std::make_move_iterator(files.end()));
        shared_->deliver = std::move(deliver);
    }
    shared_->changed.notify_all();
}

void AheadFactsReader::work(const std::shared_ptr<Shared>& shared) {
    const sched_param idle{};
    (void)sched_setscheduler(0, SCHED_IDLE, &idle);
    std::unique_lock lock(shared->mutex);
    while (true) {
        shared->changed.wait(lock, [&] { return shared->stopping || !shared->files.empty(); });
        if (shared->stopping) return;
        const std::string file = std::move(shared->files.front());
        shared->files.pop_front();
        lock.unlock();
        ShootingFacts facts;
        try {
            facts = shared->read(file);
        } catch (...) {
            // A file that cannot be read tells no time.
        }
        lock.lock();
        // Under the lock, so that nothing is delivered once the reader is gone.
        if (!shared->stopping && shared->deliver) shared->deliver(file, facts);
    }
}

}  // namespace vesko
