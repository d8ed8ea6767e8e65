#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace vesko {

// Why a change on disk did not happen, in the terms the user is told.
enum class FileProblem {
    none,
    nameTaken,     // something of that name is already at the destination
    notWritable,   // no permission, or a read-only file system
    missing,       // the item to move is no longer there
    linkedFolder,  // the subfolder of the move is a symbolic link, which Vesko never follows
    other,         // anything else: `cause` says what
};

// The outcome of a change on disk. Like std::error_code it is false when nothing went wrong;
// on failure it carries the reason and the system's own error, whose message is shown for
// `other`.
struct FileError {
    FileProblem problem = FileProblem::none;
    std::error_code cause;

    explicit operator bool() const { return problem != FileProblem::none; }
};

// The reason a system error stands for. ENOENT is read as `missing`; callers that know better
// (the destination folder, not the item, was missing) say so themselves.
FileError fileErrorFrom(std::error_code cause);

// What is at a path, following symbolic links.
struct PathKind {
    bool exists = false;
    bool isDirectory = false;
};

// What tells a file from another that took its name since: a rename keeps all three, a
// replacement changes the inode, most rewrites the size.
struct FileKey {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;

    bool operator==(const FileKey&) const = default;
};

// What a folder listing says an entry is, without a look at the entry itself. `unknown` where
// the file system does not say: the caller looks for itself when it needs to know.
enum class EntryType : std::uint8_t { unknown, file, link, folder, other };

// One entry of a listing. Plain strings: a folder may hold a hundred thousand entries, and
// std::filesystem::path splits every one into components.
struct FolderEntry {
    std::string path;
    EntryType type = EntryType::unknown;

    bool operator==(const FolderEntry&) const = default;
};

// One file of a group that moves together. `skipIfMissing` marks a file that may have gone
// since the folder was listed; the group then moves without it.
struct PlannedMove {
    std::string from;
    std::string to;
    bool skipIfMissing = false;
};

// How a group move ended: all moved (`error` false, `skipped` the files that had gone), or
// none: `error` says why the file at `blocker` did not move, and `stranded` lists files that
// were moved but could not be moved back, so they are at their `to`.
struct GroupMove {
    FileError error;
    std::size_t blocker = 0;
    std::vector<std::size_t> skipped;
    std::vector<std::size_t> stranded;
};

// The file operations the classifier needs. Paths are absolute; names are bytes and need not
// be valid UTF-8. No method throws.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether something exists at `path` and whether it is a directory, following symbolic
    // links; a path that cannot be examined counts as not existing. Any thread.
    virtual PathKind kindOf(const std::filesystem::path& path) const = 0;

    // The entries directly inside `folder`, as `folder` joined with each name, with the type the
    // listing gives, in the order the file system yields them (never sorted), hidden entries and
    // sub-folders included, "." and ".." left out. Returns nothing when the folder cannot be
    // listed (missing, not a folder, no permission, an error part-way), and then sets `why`
    // when given. Main thread.
    virtual std::optional<std::vector<FolderEntry>> list(const std::filesystem::path& folder,
                                                         std::error_code* why = nullptr) const = 0;

    // Whether `path` is a regular file or a symbolic link (not followed). Main thread.
    virtual bool isFileOrLink(const std::filesystem::path& path) const = 0;

    // Whether nothing at all is left at `path` (not followed): false for a file, a folder or
    // a link of that name, and for one that cannot be examined. Main thread.
    virtual bool isGone(const std::filesystem::path& path) const = 0;

    // The key of the file or link at `path` (not followed), or nothing when there is none
    // or it cannot be examined. Main thread.
    virtual std::optional<FileKey> keyOf(const std::filesystem::path& path) const = 0;

    // Creates `folder` and any missing parents. A folder that already exists is success and is
    // left as it is. Returns why not otherwise: `nameTaken` when a file is in the way,
    // `notWritable` when the parent may not be written. Main thread.
    virtual FileError createDirectories(const std::filesystem::path& folder) = 0;

    // Moves the item at `from` to `to` on the same file system. Never replaces anything: when
    // anything exists at `to` the move fails with `nameTaken`, but for another name of the very
    // file at `from` (a move by linking cut short): then the name `from` goes, which completes
    // that move. `missing` means that nothing is at `from`; a missing destination folder is
    // `other`. Where the folder of one end is directly inside that of the other (a subfolder of
    // the chosen folder), that subfolder must be a real directory: a symbolic link in its place
    // fails with `linkedFolder`, also one put there while the move runs. On failure both paths
    // are as they were. Nothing is ever copied: a move across file systems fails. Main thread.
    virtual FileError move(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

    // Moves every file of `group` with move(), in order, or none: when one fails, the files
    // already moved go back in reverse order. Those that cannot go back stay at their `to`
    // and are named in the result, so no file is ever lost. Main thread.
    virtual GroupMove moveGroup(std::span<const PlannedMove> group);
};

}  // namespace vesko
