#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/FileSystem.h"

namespace vesko {

// A file system held in memory, for tests. Listings come in the order entries were created
// (or moved in), not sorted, so that tests can tell the order is kept. Not thread-safe.
class InMemoryFileSystem : public FileSystem {
public:
    // Creates a file, and any missing parent folders.
    void addFile(const std::filesystem::path& file);
    // Creates a folder, and any missing parent folders.
    void addFolder(const std::filesystem::path& folder);
    // Gives the file at `file` a second name, as a move by linking cut short leaves it.
    void addHardLink(const std::filesystem::path& file, const std::filesystem::path& name);
    // Makes `folder` a symbolic link to a folder elsewhere that holds what it holds now.
    void makeFolderLink(const std::filesystem::path& folder);
    void remove(const std::filesystem::path& path);
    bool isFile(const std::filesystem::path& path) const;

    PathKind kindOf(const std::filesystem::path& path) const override;
    std::optional<std::vector<FolderEntry>> list(const std::filesystem::path& folder,
                                                 std::error_code* why = nullptr) const override;
    bool isFileOrLink(const std::filesystem::path& path) const override { return isFile(path); }
    bool isGone(const std::filesystem::path& path) const override { return !find(path); }
    // Each file added is a new inode, which a move keeps; sizes are 0.
    std::optional<FileKey> keyOf(const std::filesystem::path& path) const override;
    FileError createDirectories(const std::filesystem::path& folder) override;
    FileError move(const std::filesystem::path& from, const std::filesystem::path& to) override;

private:
    struct Node {
        bool isDirectory = false;
        std::uint64_t order = 0;
        std::uint64_t inode = 0;
        bool isLink = false;
    };

    void add(const std::filesystem::path& path, bool isDirectory);
    const Node* find(const std::filesystem::path& path) const;
    bool isLinkedSubfolder(const std::string& from, const std::string& to) const;

    std::map<std::string, Node> nodes_{{"/", Node{true, 0, 0}}};
    std::uint64_t nextOrder_ = 1;
};

}  // namespace vesko
