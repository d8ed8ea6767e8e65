#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

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

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The two folders of a move, open, or why not.
struct MoveFolders {
    Descriptor from;
    Descriptor to;
    FileError error;
};

Descriptor openFolder(const std::filesystem::path& folder) {
    return Descriptor(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// Why a folder of a move could not be opened: a missing folder of the item means the item is
// missing, a missing destination folder does not.
FileError folderError(bool ofTheItem, std::error_code cause = lastError()) {
    FileError error = fileErrorFrom(cause);
    if (error.problem == FileProblem::missing && !ofTheItem) error.problem = FileProblem::other;
    return error;
}

// A folder inside `outer`, looked up once and never through a symbolic link.
Descriptor openSubfolder(int outer, const std::filesystem::path& name, bool ofTheItem,
                         FileError& error) {
    Descriptor folder(::openat(outer, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const std::error_code cause = lastError();
    struct stat info {};
    if (folder) {
        error = {};
    } else if (::fstatat(outer, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISLNK(info.st_mode)) {
        error = {FileProblem::linkedFolder, std::make_error_code(std::errc::not_a_directory)};
    } else {
        error = folderError(ofTheItem, cause);
    }
    return folder;
}

// Where one folder is directly inside the other, as a subfolder is in the chosen folder, the
// inner one is opened through the outer; the move then goes through these descriptors, so a
// link put in the subfolder's place afterwards is not followed either.
MoveFolders openFolders(const std::filesystem::path& fromFolder,
                        const std::filesystem::path& toFolder) {
    MoveFolders folders;
    const bool intoSubfolder = toFolder != fromFolder && toFolder.parent_path() == fromFolder;
    const bool outOfSubfolder = toFolder != fromFolder && fromFolder.parent_path() == toFolder;
    if (!outOfSubfolder && !(folders.from = openFolder(fromFolder))) {
        return {{}, {}, folderError(true)};
    }
    if (!intoSubfolder && !(folders.to = openFolder(toFolder))) {
        return {{}, {}, folderError(false)};
    }
    if (intoSubfolder) {
        folders.to = openSubfolder(folders.from.get(), toFolder.filename(), false, folders.error);
    } else if (outOfSubfolder) {
        folders.from = openSubfolder(folders.to.get(), fromFolder.filename(), true, folders.error);
    }
    return folders;
}

// Whether two different entries name one file, as a move by linking cut short leaves it.
bool areTwoNamesOfOneFile(int fromFolder, const std::string& fromName, int toFolder,
                          const std::string& toName) {
    struct stat from {};
    struct stat to {};
    struct stat fromDir {};
    struct stat toDir {};
    if (::fstat(fromFolder, &fromDir) != 0 || ::fstat(toFolder, &toDir) != 0 ||
        ::fstatat(fromFolder, fromName.c_str(), &from, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstatat(toFolder, toName.c_str(), &to, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    const bool oneEntry =
        fromDir.st_dev == toDir.st_dev && fromDir.st_ino == toDir.st_ino && fromName == toName;
    return !oneEntry && from.st_dev == to.st_dev && from.st_ino == to.st_ino;
}

// Moves a regular file or symbolic link by linking it under its new name and unlinking the old
// one; fails with file_exists when anything is at the new name, and with
// operation_not_supported for other items.
std::error_code moveByLinking(int fromFolder, const std::string& fromName, int toFolder,
                              const std::string& toName) {
    struct stat info {};
    if (::fstatat(fromFolder, fromName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastError();
    }
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return std::make_error_code(std::errc::operation_not_supported);
    }
    // link() fails with EEXIST rather than replace, which is the whole point.
    if (::linkat(fromFolder, fromName.c_str(), toFolder, toName.c_str(), 0) != 0) {
        return lastError();
    }
    if (::unlinkat(fromFolder, fromName.c_str(), 0) != 0) {
        const std::error_code error = lastError();
        ::unlinkat(toFolder, toName.c_str(), 0);  // back to how it was: only at its old name
        return error;
    }
    return {};
}

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

bool PosixFileSystem::isGone(const std::filesystem::path& path) const {
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
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
    struct stat info {};
    if (error && ::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        return {FileProblem::linkedFolder, error};  // a link to nowhere
    }
    return fileErrorFrom(error);
}

FileError PosixFileSystem::move(const std::filesystem::path& from,
                                const std::filesystem::path& to) {
    MoveFolders folders = openFolders(from.parent_path(), to.parent_path());
    if (folders.error) {
        return folders.error;
    }
    const std::string fromName = from.filename().native();
    const std::string toName = to.filename().native();
    const int source = folders.from.get();
    const int target = folders.to.get();
    std::error_code error;
    if (method_ == MoveMethod::noReplaceRename) {
        if (::renameat2(source, fromName.c_str(), target, toName.c_str(), RENAME_NOREPLACE) == 0) {
            return {};
        }
        error = isNoReplaceUnsupported(errno) ? moveByLinking(source, fromName, target, toName)
                                              : lastError();
    } else {
        error = moveByLinking(source, fromName, target, toName);
    }
    if (error == std::errc::file_exists && areTwoNamesOfOneFile(source, fromName, target, toName)) {
        // Linked, and cut short before the unlink: only the unlink is left to do.
        return fileErrorFrom(::unlinkat(source, fromName.c_str(), 0) == 0 ? std::error_code()
                                                                          : lastError());
    }
    FileError failure = fileErrorFrom(error);
    // ENOENT names either end (a folder may go once opened); only a missing item is gone.
    struct stat info {};
    if (failure.problem == FileProblem::missing &&
        ::fstatat(source, fromName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        failure.problem = FileProblem::other;
    }
    return failure;
}

}  // namespace vesko
