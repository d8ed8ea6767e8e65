#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>

#include "TempFolder.h"
#include "platform/ImageDecoder.h"

namespace vesko {

// Decodes a file into a 1 x 1 image whose red value is the file's first byte; an empty or
// missing file fails, one named "throws" throws. Counts the decodes started and finished per
// name, and holds back the decode of a held name until it is released.
class ByteDecoder : public ImageDecoder {
public:
    ImageHandle decode(const std::filesystem::path& file) const override {
        const std::string name = file.filename();
        std::unique_lock lock(mutex_);
        ++started_[name];
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_.contains(name); });
        lock.unlock();
        const std::string bytes = TempFolder::read(file);
        if (whileDecoding) whileDecoding();
        lock.lock();
        ++finished_[name];
        changed_.notify_all();
        if (name == "throws") throw std::runtime_error("broken decoder");
        if (bytes.empty()) return nullptr;
        const auto red = static_cast<std::uint8_t>(bytes[0]);
        return std::make_shared<DecodedImage>(1, 1, 4, std::vector<std::uint8_t>{red, 0, 0, 255},
                                              false);
    }

    // Runs on the decoding thread once the bytes are read. Set it before the decode is asked for.
    std::function<void()> whileDecoding;

    void hold(const std::string& name, bool held = true) {
        std::lock_guard lock(mutex_);
        if (held) {
            held_.insert(name);
        } else {
            held_.erase(name);
        }
        changed_.notify_all();
    }
    void release(const std::string& name) { hold(name, false); }
    int started(const std::string& name) const {
        std::lock_guard lock(mutex_);
        return started_[name];
    }
    void waitUntilStarted(const std::string& name, int times) const {
        waitFor(started_, name, times);
    }
    void waitUntilFinished(const std::string& name, int times) const {
        waitFor(finished_, name, times);
    }

private:
    void waitFor(std::map<std::string, int>& counts, const std::string& name, int times) const {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return counts[name] >= times; });
    }

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::map<std::string, int> started_;
    mutable std::map<std::string, int> finished_;
    std::set<std::string> held_;
};

}  // namespace vesko
