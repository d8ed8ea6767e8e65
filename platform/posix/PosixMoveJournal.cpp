#include "PosixMoveJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "JournalRecords.h"

namespace vesko {
namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// FNV-1a: stable across builds and runs, unlike std::hash.
std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : text) {
        hash = (hash ^ static_cast<std::uint8_t>(byte)) * 1099511628211ull;
    }
    return hash;
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
void putAside(const std::filesystem::path& file, int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        const std::string aside = file.native() + "." + std::to_string(info.st_ino) + ".unusable";
        ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
    }
}

}  // namespace

PosixMoveJournal::PosixMoveJournal(std::filesystem::path folder, Durability durability)
    : folder_(std::move(folder)), durability_(durability) {}

PosixMoveJournal::~PosixMoveJournal() {
    if (open_) {
        ::close(open_->fd);
    }
}

std::filesystem::path PosixMoveJournal::defaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') {
        return std::filesystem::path(state) / "vesko";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/") / ".local/state/vesko";
}

std::filesystem::path PosixMoveJournal::fileFor(const std::string& folder) const {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.journal",
                  static_cast<unsigned long long>(hashOf(folder)));
    return folder_ / name;
}

MoveJournal::Start PosixMoveJournal::begin(const JournalEntry& entry) {
    if (open_) {
        finish(open_->ticket);  // a group move that never said it was done
    }
    const auto failed = [](std::error_code cause) {
        return Start{std::nullopt, JournalTrouble{JournalTrouble::Kind::unwritable, cause}};
    };
    std::error_code error;
    if (std::filesystem::create_directories(folder_, error); error) {
        return failed(error);
    }
    const std::filesystem::path file = fileFor(entry.folder);
    bool created = false;
    int fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        created = fd >= 0;
    }
    if (fd < 0) {
        return failed(lastError());
    }
    struct stat info {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &info) != 0) {
        const std::error_code cause = lastError();
        ::close(fd);
        return failed(cause);
    }
    const auto offset = static_cast<std::uint64_t>(info.st_size);
    const std::string record = beginRecord(offset, entry);
    if (!writeAll(fd, record) || (durability_ == Durability::powerCut && ::fdatasync(fd) != 0)) {
        const std::error_code cause = lastError();
        if (::ftruncate(fd, static_cast<off_t>(offset)) != 0) {
            // What did reach the file is a torn last record: read as never written.
        }
        ::close(fd);
        return failed(cause);
    }
    if (created && durability_ == Durability::powerCut) {
        syncPath(folder_);
    }
    Open open{fd, offset, offset + record.size(), {}};
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
    struct stat info {};
    const bool alone = open_->ticket == 0 && ::fstat(open_->fd, &info) == 0 &&
                       static_cast<std::uint64_t>(info.st_size) == open_->end;
    // A finish mark that does not reach the disk leaves an entry whose renames all happened,
    // which resolving leaves as it is.
    if (!alone || ::ftruncate(open_->fd, 0) != 0) {
        writeAll(open_->fd, finishRecord(ticket));
    }
    ::close(open_->fd);
    open_.reset();
}

void PosixMoveJournal::syncFolders(const std::set<std::string>& folders) const {
    for (const std::string& folder : folders) {
        syncPath(folder);
    }
}

std::optional<JournalTrouble> PosixMoveJournal::resolveUnfinished(const std::string& folder,
                                                                  const Resolve& resolve) {
    return resolveFile(fileFor(folder), &folder, resolve);
}

std::optional<JournalTrouble> PosixMoveJournal::resolveAllUnfinished(const Resolve& resolve) {
    std::error_code error;
    std::filesystem::directory_iterator files(folder_, error);
    if (error) {
        return error == std::errc::no_such_file_or_directory
                   ? std::nullopt
                   : std::optional(JournalTrouble{JournalTrouble::Kind::unreadable, error});
    }
    std::optional<JournalTrouble> first;
    for (const auto& file : files) {
        if (file.path().extension() == ".journal") {
            auto trouble = resolveFile(file.path(), nullptr, resolve);
            if (!first) first = trouble;
        }
    }
    return first;
}

std::optional<JournalTrouble> PosixMoveJournal::resolveFile(const std::filesystem::path& file,
                                                            const std::string* folder,
                                                            const Resolve& resolve) {
    const int fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT
                   ? std::nullopt
                   : std::optional(JournalTrouble{JournalTrouble::Kind::unreadable, lastError()});
    }
    // Locked: another Vesko is moving a group in this folder right now; nothing is interrupted.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
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
        putAside(file, fd);
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
        if (::ftruncate(fd, 0) != 0) {
            // Left for next time, when every entry in it is found as resolved.
        }
    } else {
        for (const auto& [offset, entry] : contents.unfinished) {
            if (!folder || entry.folder == *folder) writeAll(fd, finishRecord(offset));
        }
    }
    ::close(fd);
    return std::nullopt;
}

}  // namespace vesko
