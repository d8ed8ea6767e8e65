#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vesko {
namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// The flag is refused by file systems that cannot honour it (some network and FUSE ones).
bool isNoReplaceUnsupported(int error) { return error == EINVAL || error == ENOSYS; }

EntryType typeOf(unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryType::file;
        case DT_LNK:
            return EntryType::link;
        case DT_DIR:
            return EntryType::folder;
        case DT_UNKNOWN:
            return EntryType::unknown;
        default:
            return EntryType::other;
    }
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

PathKind PosixFileSystem::kindOf(const std::filesystem::path& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {.exists = true, .isDirectory = S_ISDIR(info.st_mode)};
}

std::optional<std::vector<FolderEntry>> PosixFileSystem::list(const std::filesystem::path& folder,
                                                              std::error_code* why) const {
    const auto failed = [why] {
        if (why) *why = std::error_code(errno, std::generic_category());
        return std::nullopt;
    };
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return failed();
    }
    std::string prefix = folder.native();
    if (prefix.empty() || prefix.back() != '/') {
        prefix.push_back('/');
    }
    std::vector<FolderEntry> entries;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        entries.push_back({prefix + name, typeOf(entry->d_type)});
    }
    if (errno != 0) {
        return failed();
    }
    return entries;
}

bool PosixFileSystem::isFileOrLink(const std::filesystem::path& path) const {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode));
}

std::optional<FileKey> PosixFileSystem::keyOf(const std::filesystem::path& path) const {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileKey{info.st_dev, info.st_ino, static_cast<std::uint64_t>(info.st_size)};
}

FileError PosixFileSystem::createDirectories(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return fileErrorFrom(error);
}

FileError PosixFileSystem::move(const std::filesystem::path& from,
                                const std::filesystem::path& to) {
    std::error_code error;
    if (method_ == MoveMethod::noReplaceRename) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return {};
        }
        error = isNoReplaceUnsupported(errno) ? moveByLinking(from, to) : lastError();
    } else {
        error = moveByLinking(from, to);
    }
    FileError failure = fileErrorFrom(error);
    // ENOENT names either end; only a missing item means the photo is gone.
    struct stat info {};
    if (failure.problem == FileProblem::missing && ::lstat(from.c_str(), &info) == 0) {
        failure.problem = FileProblem::other;
    }
    return failure;
}

std::error_code moveByLinking(const std::filesystem::path& from, const std::filesystem::path& to) {
    struct stat info {};
    if (::lstat(from.c_str(), &info) != 0) {
        return lastError();
    }
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return std::make_error_code(std::errc::operation_not_supported);
    }
    // link() fails with EEXIST rather than replace, which is the whole point.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return lastError();
    }
    if (::unlink(from.c_str()) != 0) {
        const std::error_code error = lastError();
        ::unlink(to.c_str());  // back to how it was: the file only at its old name
        return error;
    }
    return {};
}

}  // namespace vesko
