#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ImageDecoderWrapper.h"

namespace vesko {

// A file as the file system tells it apart: while all four are the same it is the same file
// with the same contents, as far as anyone can tell without reading it. A rename keeps them; a
// rewrite or a replacement changes at least one.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `file`, following symbolic links; nothing when it cannot be
// examined.
std::optional<FileIdentity> identityOf(const std::filesystem::path& file);

// Decodes the files it is told to expect on worker threads of lower priority, with the inner
// decoder, so that decode() finds them ready. It keeps only the images of the files named by the
// latest hint. A kept image is handed out only while its file has the identity it had when its
// decode began; otherwise, and for a decode that failed ahead, the file is decoded again on the
// calling thread. A file whose decode is running is waited for, never decoded twice at once.
// decode() and expect() belong to one thread; the destructor waits for running decodes only.
class AheadDecoder : public ImageDecoderWrapper {
public:
    explicit AheadDecoder(std::shared_ptr<const ImageDecoder> inner,
                          int workers = defaultWorkerCount());
    ~AheadDecoder() override;
    AheadDecoder(const AheadDecoder&) = delete;
    AheadDecoder& operator=(const AheadDecoder&) = delete;

    ImageHandle decode(const std::filesystem::path& file) const override;
    void expect(const std::vector<std::string>& comingUp) override;
    // The rest, regions included (the window's own worker asks for them), goes straight to the
    // inner decoder.

    // One core is left to the thread that shows the images.
    static int defaultWorkerCount();

private:
    struct Decoded {
        std::optional<FileIdentity> identity;  // taken before the decode began
        ImageHandle image;
    };
    struct Slot {
        enum class Stage { Queued, Running, Ready };
        Stage stage = Stage::Queued;
        // False once a hint no longer names the file: a running decode is then let go when it
        // finishes, unless a later hint names the file again.
        bool wanted = true;
        Decoded decoded;
    };

    void work();
    static void adoptMoved(Slot& slot, const std::string& file,
                           const std::vector<std::shared_ptr<Slot>>& letGo);
    Decoded decodeNow(const std::string& file) const;
    ImageHandle redecodeInto(Slot& slot, const std::string& file) const;

    mutable std::mutex mutex_;
    std::condition_variable workAdded_;
    mutable std::condition_variable slotReady_;
    // The files of the latest hint, and those whose decode still runs.
    mutable std::map<std::string, std::shared_ptr<Slot>> slots_;
    // The queued slots' files, soonest first.
    mutable std::deque<std::string> queue_;
    bool stopping_ = false;
    std::chrono::steady_clock::time_point hintedAt_;  // of the latest hint
    static constexpr std::chrono::milliseconds kFrameAfterHint{30};
    std::vector<std::thread> workers_;
};

}  // namespace vesko
