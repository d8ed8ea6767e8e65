#include "platform/decoder/RawReaderClient.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "platform/decoder/RawReaderWire.h"

extern char** environ;

namespace vesko::decoder {
namespace {

using Clock = std::chrono::steady_clock;

// Far more than LibRaw needs for any camera's file on the slowest machine Vesko runs on. A photo
// wanted before it was decoded ahead is decoded on the window's thread, which a reader that
// never answers would hold for this long.
constexpr std::chrono::seconds kFactsTimeLimit{3};
constexpr std::chrono::seconds kHalfSizeTimeLimit{30};
// The largest copied preview believed: a preview is never larger than the file it is in.
constexpr std::uint64_t kMaxCopiedPreview = std::uint64_t(1) << 30;
// Facts kept for this many files: more than a zoomed comparison and its neighbours hold.
constexpr std::size_t kRememberedFiles = 64;
// Copied previews (a few cameras store every preview without its start marker) are kept up to
// this much in all: a few photos' worth, not 64.
constexpr std::size_t kRememberedPreviewBytes = 32u << 20;

// Where the reader is: named by VESKO_RAW_READER (a stand-in, for tests of a reader that
// fails), else installed beside the executable's prefix, else where this build put it.
std::string readerPath() {
    if (const char* named = std::getenv("VESKO_RAW_READER")) return named;
    static const std::string path = [] {
        std::error_code error;
        const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) {
            const auto installed =
                executable.parent_path().parent_path() / VESKO_RAW_READER_INSTALLED;
            if (::access(installed.c_str(), X_OK) == 0) return installed.string();
        }
        return std::string(VESKO_RAW_READER_BUILT);
    }();
    return path;
}

// A descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Descriptors above the standard three, so that handing them to the reader as its standard
// input and output cannot overwrite one with the other, however few the caller has open.
int duplicateAboveStandard(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 3); }

// The readers running, so that the process can end them when it closes.
class RunningReaders {
public:
    // False once stopped: the caller ends its reader itself.
    bool add(pid_t pid) {
        const std::lock_guard lock(mutex_);
        if (stopped_) return false;
        pids_.insert(pid);
        return true;
    }
    // Before the reader is reaped, so that its pid cannot be another process's when stopped.
    void remove(pid_t pid) {
        const std::lock_guard lock(mutex_);
        pids_.erase(pid);
    }
    void stopAll() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        for (const pid_t pid : pids_) ::kill(pid, SIGKILL);
    }

private:
    std::mutex mutex_;
    std::set<pid_t> pids_;
    bool stopped_ = false;
};

RunningReaders& running() {
    static RunningReaders readers;
    return readers;
}

pid_t startReader(int input, int output, const char* question) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    // What LibRaw (or a sanitizer) says when it fails is of no use to a photographer.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string path = readerPath();
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(question), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Everything the reader writes until it closes its output, unless that is more than `limit`
// bytes or takes longer than `timeLimit`.
std::optional<std::vector<std::uint8_t>> readAnswer(int from, std::size_t limit,
                                                    std::chrono::seconds timeLimit) {
    const auto deadline = Clock::now() + timeLimit;
    std::vector<std::uint8_t> answer;
    std::uint8_t chunk[1 << 16];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd wait{from, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        const ssize_t got = ::read(from, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return answer;
        if (answer.size() + std::size_t(got) > limit) return std::nullopt;
        try {
            answer.insert(answer.end(), chunk, chunk + got);
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    }
}

bool exitedCleanly(pid_t pid, bool stop) {
    if (stop) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return !stop && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The reader's whole answer to `question` about the file open as `fd`, when it gave one.
std::optional<std::vector<std::uint8_t>> ask(int fd, const char* question, std::size_t limit,
                                             std::chrono::seconds timeLimit) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    Descriptor readEnd(duplicateAboveStandard(ends[0]));
    Descriptor writeEnd(duplicateAboveStandard(ends[1]));
    ::close(ends[0]);
    ::close(ends[1]);
    const Descriptor input(duplicateAboveStandard(fd));
    if (readEnd.get() < 0 || writeEnd.get() < 0 || input.get() < 0) return std::nullopt;
    const pid_t pid = startReader(input.get(), writeEnd.get(), question);
    if (pid < 0) return std::nullopt;
    writeEnd.reset();  // so that the reader's exit ends the answer
    std::optional<std::vector<std::uint8_t>> answer;
    if (running().add(pid)) {
        answer = readAnswer(readEnd.get(), limit, timeLimit);
        running().remove(pid);
    }
    if (!exitedCleanly(pid, !answer)) return std::nullopt;
    return answer;
}

template <typename Header>
std::optional<Header> headerOf(const std::vector<std::uint8_t>& answer) {
    Header header;
    if (answer.size() < sizeof header) return std::nullopt;
    std::memcpy(&header, answer.data(), sizeof header);
    return header;
}

std::shared_ptr<const RawFacts> factsFrom(const std::vector<std::uint8_t>& answer) {
    const auto wired = headerOf<wire::RawFacts>(answer);
    if (!wired || wired->copiedPreviewLength != answer.size() - sizeof *wired) return nullptr;
    auto facts = std::make_shared<RawFacts>();
    facts->sensor = {wired->sensorWidth, wired->sensorHeight};
    facts->flip = wired->flip;
    facts->adobeRgb = wired->adobeRgb != 0;
    facts->previewOffset = wired->previewOffset;
    facts->previewLength = wired->previewLength;
    facts->copiedPreview.assign(answer.begin() + sizeof *wired, answer.end());
    return facts;
}

struct FileKey {
    dev_t device;
    ino_t inode;
    off_t size;
    std::int64_t changedSeconds;
    long changedNanoseconds;
    friend bool operator==(const FileKey&, const FileKey&) = default;
};

std::optional<FileKey> keyOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return std::nullopt;
    return FileKey{status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
                   status.st_mtim.tv_nsec};
}

class RememberedFacts {
public:
    std::optional<std::shared_ptr<const RawFacts>> find(const FileKey& key) {
        const std::lock_guard lock(mutex_);
        for (const auto& [known, facts] : entries_) {
            if (known == key) return facts;
        }
        return std::nullopt;
    }
    void keep(const FileKey& key, std::shared_ptr<const RawFacts> facts) {
        const std::lock_guard lock(mutex_);
        entries_.emplace_back(key, std::move(facts));
        while (entries_.size() > kRememberedFiles || copiedBytes() > kRememberedPreviewBytes) {
            entries_.pop_front();
        }
    }

private:
    std::size_t copiedBytes() const {
        std::size_t bytes = 0;
        for (const auto& entry : entries_) {
            if (entry.second) bytes += entry.second->copiedPreview.size();
        }
        return bytes;
    }

    std::mutex mutex_;
    std::deque<std::pair<FileKey, std::shared_ptr<const RawFacts>>> entries_;
};

RememberedFacts& remembered() {
    static RememberedFacts facts;
    return facts;
}

std::shared_ptr<const RawFacts> askFactsNow(int fd) {
    const auto answer =
        ask(fd, wire::kAskFacts, sizeof(wire::RawFacts) + kMaxCopiedPreview, kFactsTimeLimit);
    return answer ? factsFrom(*answer) : nullptr;
}

}  // namespace

std::shared_ptr<const RawFacts> askRawFacts(int fd, bool remember) {
    const auto key = remember ? keyOf(fd) : std::nullopt;
    if (!key) return askFactsNow(fd);
    if (auto known = remembered().find(*key)) return *known;
    auto facts = askFactsNow(fd);
    remembered().keep(*key, facts);
    return facts;
}

std::optional<RgbPixels> askRawHalfSize(int fd) {
    const std::size_t limit = sizeof(wire::HalfSizeHeader) + std::size_t(kMaxPixels) * 3;
    auto answer = ask(fd, wire::kAskHalfSize, limit, kHalfSizeTimeLimit);
    if (!answer) return std::nullopt;
    const auto header = headerOf<wire::HalfSizeHeader>(*answer);
    if (!header || !withinPixelLimit(header->width, header->height) ||
        answer->size() - sizeof *header != std::size_t(header->width) * header->height * 3) {
        return std::nullopt;
    }
    RgbPixels pixels{{header->width, header->height}, std::move(*answer)};
    pixels.rgb.erase(pixels.rgb.begin(), pixels.rgb.begin() + sizeof *header);
    return pixels;
}

void stopRawReaders() { running().stopAll(); }

int memoryFileWith(std::span<const std::uint8_t> bytes) {
    Descriptor file(::memfd_create("vesko-raw", MFD_CLOEXEC));
    if (file.get() < 0) return -1;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return -1;
        done += std::size_t(written);
    }
    return file.release();
}

}  // namespace vesko::decoder
