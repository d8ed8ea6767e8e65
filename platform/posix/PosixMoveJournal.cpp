#include "PosixMoveJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string_view>

#include "JournalRecords.h"

namespace vesko {
namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

constexpr std::string_view kJournalExtension = ".journal";

// The name of this process's own file: its id, which no live process shares, and a random
// number, which no file an ended process left is likely to have.
std::string ownFileName() {
    std::random_device random;
    const std::uint64_t nonce = std::uint64_t{random()} << 32 | random();
    char name[64];
    std::snprintf(name, sizeof name, "%ld-%016llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(nonce));
    return name + std::string(kJournalExtension);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> readAll(int fd) {
    std::string bytes;
    char buffer[1 << 14];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

void syncPath(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps an unusable file for whoever wants to look into it, out of the way of new entries,
// so that it is reported once. Named by its inode, which no other file there has while it
// lives.
void putAside(const std::filesystem::path& file, ino_t inode) {
    const std::string aside = file.native() + "." + std::to_string(inode) + ".unusable";
    ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
}

}  // namespace

PosixMoveJournal::PosixMoveJournal(std::filesystem::path folder, Durability durability)
    : folder_(std::move(folder)), durability_(durability) {}

PosixMoveJournal::~PosixMoveJournal() {
    if (ownFd_ < 0) {
        return;
    }
    // An entry never finished is left for recovery, as a kill would leave it.
    struct stat info {};
    if (!open_ && ::fstat(ownFd_, &info) == 0 && info.st_size == 0) {
        ::unlink(ownFile_.c_str());
    }
    ::close(ownFd_);
}

std::filesystem::path PosixMoveJournal::defaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') {
        return std::filesystem::path(state) / "vesko";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/") / ".local/state/vesko";
}

// Made under another name and locked before it takes a journal's name, so that no resolving
// process ever finds it unlocked.
std::error_code PosixMoveJournal::openOwnFile() {
    const std::filesystem::path file = folder_ / ownFileName();
    const std::filesystem::path making = file.native() + ".new";
    const int fd =
        ::open(making.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return lastError();
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(making.c_str(), file.c_str()) != 0) {
        const std::error_code cause = lastError();
        ::unlink(making.c_str());
        ::close(fd);
        return cause;
    }
    if (durability_ == Durability::powerCut) {
        syncPath(folder_);
    }
    ownFile_ = file;
    ownFd_ = fd;
    return {};
}

MoveJournal::Start PosixMoveJournal::begin(const JournalEntry& entry) {
    if (open_) {
        finish(open_->ticket);  // a group move that never said it was done
    }
    const auto failed = [](std::error_code cause) {
        return Start{std::nullopt, JournalTrouble{JournalTrouble::Kind::unwritable, cause}};
    };
    if (ownFd_ < 0) {
        std::error_code error;
        std::filesystem::create_directories(folder_, error);
        if (error || (error = openOwnFile())) {
            return failed(error);
        }
    }
    struct stat info {};
    if (::fstat(ownFd_, &info) != 0) {
        return failed(lastError());
    }
    const auto offset = static_cast<std::uint64_t>(info.st_size);
    const std::string record = beginRecord(offset, entry);
    if (!writeAll(ownFd_, record) ||
        (durability_ == Durability::powerCut && ::fdatasync(ownFd_) != 0)) {
        const std::error_code cause = lastError();
        if (::ftruncate(ownFd_, static_cast<off_t>(offset)) != 0) {
            // What did reach the file is a torn last record: read as never written.
        }
        return failed(cause);
    }
    Open open{offset, offset + record.size(), {}};
    for (const JournaledMove& move : entry.moves) {
        open.folders.insert(std::filesystem::path(move.from).parent_path());
        open.folders.insert(std::filesystem::path(move.to).parent_path());
    }
    open_ = std::move(open);
    return {offset, std::nullopt};
}

void PosixMoveJournal::finish(Ticket ticket) {
    if (!open_ || open_->ticket != ticket) {
        return;
    }
    if (durability_ == Durability::powerCut) {
        syncFolders(open_->folders);
    }
    // Every entry of the file is finished now. A finish mark that does not reach the disk
    // leaves an entry whose renames all happened, which resolving leaves as it is.
    if (::ftruncate(ownFd_, 0) != 0) {
        writeAll(ownFd_, finishRecord(ticket));
    }
    open_.reset();
}

void PosixMoveJournal::syncFolders(const std::set<std::string>& folders) const {
    for (const std::string& folder : folders) {
        syncPath(folder);
    }
}

std::optional<JournalTrouble> PosixMoveJournal::resolveUnfinished(const std::string& folder,
                                                                  const Resolve& resolve) {
    return resolveWhere(&folder, resolve);
}

std::optional<JournalTrouble> PosixMoveJournal::resolveAllUnfinished(const Resolve& resolve) {
    return resolveWhere(nullptr, resolve);
}

std::optional<JournalTrouble> PosixMoveJournal::resolveWhere(const std::string* folder,
                                                             const Resolve& resolve) {
    std::error_code error;
    std::filesystem::directory_iterator files(folder_, error);
    if (error) {
        return error == std::errc::no_such_file_or_directory
                   ? std::nullopt
                   : std::optional(JournalTrouble{JournalTrouble::Kind::unreadable, error});
    }
    std::optional<JournalTrouble> first;
    for (const auto& file : files) {
        if (file.path().native().ends_with(kJournalExtension)) {
            auto trouble = resolveFile(file.path(), folder, resolve);
            if (!first) first = trouble;
        }
    }
    return first;
}

std::optional<JournalTrouble> PosixMoveJournal::resolveFile(const std::filesystem::path& file,
                                                            const std::string* folder,
                                                            const Resolve& resolve) {
    const JournalTrouble notAFile{JournalTrouble::Kind::notAFile};
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
        return std::nullopt;  // resolved and removed by another process meanwhile
    }
    if (!S_ISREG(info.st_mode)) {
        putAside(file, info.st_ino);
        return notAFile;
    }
    // Never waits: not for a FIFO put in its place since, nor for another process's lock.
    const int fd =
        ::open(file.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT
                   ? std::nullopt
                   : std::optional(JournalTrouble{JournalTrouble::Kind::unreadable, lastError()});
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        putAside(file, info.st_ino);
        ::close(fd);
        return notAFile;
    }
    // Locked: another Vesko is moving a group right now; nothing is interrupted. Unlinked: its
    // entries were resolved by another process since it was opened.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    if (::fstat(fd, &info) != 0 || info.st_nlink == 0) {
        ::close(fd);
        return std::nullopt;
    }
    const std::optional<std::string> bytes = readAll(fd);
    if (!bytes) {
        const JournalTrouble trouble{JournalTrouble::Kind::unreadable, lastError()};
        ::close(fd);
        return trouble;
    }
    JournalContents contents = readJournal(*bytes);
    if (contents.fault) {
        putAside(file, info.st_ino);
        ::close(fd);
        return JournalTrouble{*contents.fault};
    }
    std::set<std::string> changed;
    std::size_t resolved = 0;
    for (const auto& [offset, entry] : contents.unfinished) {
        if (!folder || entry.folder == *folder) {
            resolve(entry);
            ++resolved;
            for (const JournaledMove& move : entry.moves) {
                changed.insert(std::filesystem::path(move.from).parent_path());
                changed.insert(std::filesystem::path(move.to).parent_path());
            }
        }
    }
    if (durability_ == Durability::powerCut) {
        syncFolders(changed);
    }
    if (resolved == contents.unfinished.size()) {
        // Emptied first, so that a process that opened it before the unlink finds nothing.
        if (::ftruncate(fd, 0) == 0) ::unlink(file.c_str());
    } else {
        for (const auto& [offset, entry] : contents.unfinished) {
            if (!folder || entry.folder == *folder) writeAll(fd, finishRecord(offset));
        }
    }
    ::close(fd);
    return std::nullopt;
}

}  // namespace vesko
