#include "AheadDecoder.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace vesko {
namespace {

// Work ahead must not take frames from the thread that draws: the workers yield to it, and the
// threads a decoder starts inherit that.
void lowerThisThreadsPriority() {
    const sched_param batch{};
    (void)sched_setscheduler(0, SCHED_BATCH, &batch);
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
                        status.st_mtim.tv_nsec};
}

int AheadDecoder::defaultWorkerCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()) - 1);
}

AheadDecoder::AheadDecoder(std::shared_ptr<const ImageDecoder> inner, int workers)
    : ImageDecoderWrapper(std::move(inner)) {
    // Without any thread every expected file is simply decoded when it is asked for.
    try {
        for (int i = 0; i < workers; ++i) {
            workers_.emplace_back([this] { work(); });
        }
    } catch (const std::system_error&) {
    }
}

AheadDecoder::~AheadDecoder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    workAdded_.notify_all();
    for (auto& worker : workers_) {
        worker.join();
    }
}

void AheadDecoder::expect(const std::vector<std::string>& comingUp) {
    std::vector<std::shared_ptr<Slot>> letGo;  // freed once the lock is released
    std::lock_guard lock(mutex_);
    for (auto it = slots_.begin(); it != slots_.end();) {
        const bool named = std::ranges::find(comingUp, it->first) != comingUp.end();
        it->second->wanted = named;
        if (!named && it->second->stage != Slot::Stage::Running) {
            letGo.push_back(std::move(it->second));
            it = slots_.erase(it);
        } else {
            ++it;
        }
    }
    queue_.clear();
    hintedAt_ = std::chrono::steady_clock::now();
    for (const auto& file : comingUp) {
        auto& slot = slots_[file];
        if (!slot) {
            slot = std::make_shared<Slot>();
            adoptMoved(*slot, file, letGo);
        }
        if (slot->stage == Slot::Stage::Queued && std::ranges::find(queue_, file) == queue_.end()) {
            queue_.push_back(file);
        }
    }
    workAdded_.notify_all();
}

// A photo just answered is expected again under its new name, for Undo: a file renamed keeps its
// identity, so its image is taken over instead of decoded again while the next frame is drawn.
void AheadDecoder::adoptMoved(Slot& slot, const std::string& file,
                              const std::vector<std::shared_ptr<Slot>>& letGo) {
    const auto isReady = [](const std::shared_ptr<Slot>& old) {
        return old->stage == Slot::Stage::Ready && old->decoded.image && old->decoded.identity;
    };
    if (std::ranges::none_of(letGo, isReady)) return;
    const std::optional<FileIdentity> identity = identityOf(file);
    for (const std::shared_ptr<Slot>& old : letGo) {
        if (isReady(old) && old->decoded.identity == identity) {
            slot.decoded = old->decoded;
            slot.stage = Slot::Stage::Ready;
            return;
        }
    }
}

ImageHandle AheadDecoder::decode(const std::filesystem::path& file) const {
    const std::string& key = file.native();
    std::unique_lock lock(mutex_);
    const auto found = slots_.find(key);
    if (found == slots_.end()) {
        lock.unlock();
        return decodeNow(key).image;
    }
    const std::shared_ptr<Slot> slot = found->second;
    if (slot->stage == Slot::Stage::Queued) {
        std::erase(queue_, key);
        slot->stage = Slot::Stage::Running;
        lock.unlock();
        return redecodeInto(*slot, key);
    }
    slotReady_.wait(lock, [&] { return slot->stage == Slot::Stage::Ready; });
    const Decoded ahead = slot->decoded;
    if (ahead.image && ahead.identity && identityOf(file) == ahead.identity) {
        return ahead.image;
    }
    slot->stage = Slot::Stage::Running;
    lock.unlock();
    return redecodeInto(*slot, key);
}

ImageHandle AheadDecoder::redecodeInto(Slot& slot, const std::string& file) const {
    Decoded decoded = decodeNow(file);
    ImageHandle image = decoded.image;
    std::lock_guard lock(mutex_);
    slot.decoded = std::move(decoded);
    slot.stage = Slot::Stage::Ready;
    slotReady_.notify_all();
    return image;
}

AheadDecoder::Decoded AheadDecoder::decodeNow(const std::string& file) const {
    Decoded decoded{identityOf(file), nullptr};
    try {
        decoded.image = target()->decode(file);
    } catch (...) {
        // A decoder that breaks its promise costs this one image, never the caller.
    }
    return decoded;
}

void AheadDecoder::work() {
    lowerThisThreadsPriority();
    std::unique_lock lock(mutex_);
    while (true) {
        workAdded_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        // The hint comes with the frame that shows its first photo: decoding ahead at once took
        // cores and memory bandwidth from that frame (a third more of it on a 4K screen). A
        // photo wanted sooner is decoded by decode() itself, which takes it from the queue.
        while (!stopping_ && std::chrono::steady_clock::now() < hintedAt_ + kFrameAfterHint) {
            workAdded_.wait_until(lock, hintedAt_ + kFrameAfterHint);
        }
        if (stopping_) {
            return;
        }
        if (queue_.empty()) continue;
        const std::string file = std::move(queue_.front());
        queue_.pop_front();
        std::shared_ptr<Slot> slot = slots_.at(file);
        slot->stage = Slot::Stage::Running;
        lock.unlock();
        Decoded decoded = decodeNow(file);
        lock.lock();
        slot->decoded = std::move(decoded);
        slot->stage = Slot::Stage::Ready;
        slotReady_.notify_all();
        if (!slot->wanted) {  // let go by a hint meanwhile: freed outside the lock
            slots_.erase(file);
            lock.unlock();
            slot.reset();
            lock.lock();
        }
    }
}

}  // namespace vesko
