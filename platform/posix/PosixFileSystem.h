#pragma once

#include "platform/FileSystem.h"

namespace vesko {

// The file system of a POSIX system. Moves use rename with RENAME_NOREPLACE; where the file
// system does not support that flag, a file is hard-linked to its new name and then unlinked
// from the old one, which cannot replace either. Other kinds of item then fail to move. Both
// go through descriptors of the two folders, the subfolder opened without following a link.
class PosixFileSystem : public FileSystem {
public:
    enum class MoveMethod { noReplaceRename, linkThenUnlink };

    // `method` is for tests that need the fallback on a file system that has the flag.
    explicit PosixFileSystem(MoveMethod method = MoveMethod::noReplaceRename) : method_(method) {}

    PathKind kindOf(const std::filesystem::path& path) const override;
    std::optional<std::vector<FolderEntry>> list(const std::filesystem::path& folder,
                                                 std::error_code* why = nullptr) const override;
    bool isFileOrLink(const std::filesystem::path& path) const override;
    bool isGone(const std::filesystem::path& path) const override;
    std::optional<FileKey> keyOf(const std::filesystem::path& path) const override;
    FileError createDirectories(const std::filesystem::path& folder) override;
    FileError move(const std::filesystem::path& from, const std::filesystem::path& to) override;

private:
    MoveMethod method_;
};

}  // namespace vesko
