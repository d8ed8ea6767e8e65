#include "InMemoryFileSystem.h"

#include <algorithm>

namespace vesko {
namespace {

std::string key(const std::filesystem::path& path) {
    std::string text = path.lexically_normal().native();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string parentKey(const std::string& key) { return std::filesystem::path(key).parent_path(); }

}  // namespace

void InMemoryFileSystem::add(const std::filesystem::path& path, bool isDirectory) {
    const std::string k = key(path);
    if (k != "/" && !find(parentKey(k))) {
        add(parentKey(k), true);
    }
    const std::uint64_t order = nextOrder_++;
    nodes_.try_emplace(k, Node{isDirectory, order, order});
}

void InMemoryFileSystem::addFile(const std::filesystem::path& file) { add(file, false); }

void InMemoryFileSystem::addFolder(const std::filesystem::path& folder) { add(folder, true); }

void InMemoryFileSystem::addHardLink(const std::filesystem::path& file,
                                     const std::filesystem::path& name) {
    Node node = *find(file);
    node.order = nextOrder_++;
    nodes_.try_emplace(key(name), node);
}

void InMemoryFileSystem::makeFolderLink(const std::filesystem::path& folder) {
    addFolder(folder);
    nodes_[key(folder)].isLink = true;
}

void InMemoryFileSystem::remove(const std::filesystem::path& path) {
    const std::string k = key(path);
    std::erase_if(nodes_, [&](const auto& node) {
        return node.first == k || node.first.starts_with(k == "/" ? k : k + "/");
    });
}

const InMemoryFileSystem::Node* InMemoryFileSystem::find(const std::filesystem::path& path) const {
    const auto it = nodes_.find(key(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

bool InMemoryFileSystem::isFile(const std::filesystem::path& path) const {
    const Node* node = find(path);
    return node && !node->isDirectory;
}

std::optional<FileKey> InMemoryFileSystem::keyOf(const std::filesystem::path& path) const {
    const Node* node = find(path);
    return node ? std::optional(FileKey{1, node->inode, 0}) : std::nullopt;
}

PathKind InMemoryFileSystem::kindOf(const std::filesystem::path& path) const {
    const Node* node = find(path);
    return node ? PathKind{true, node->isDirectory} : PathKind{};
}

std::optional<std::vector<FolderEntry>> InMemoryFileSystem::list(
    const std::filesystem::path& folder, std::error_code* why) const {
    const Node* node = find(folder);
    if (!node || !node->isDirectory) {
        if (why)
            *why = std::make_error_code(node ? std::errc::not_a_directory
                                             : std::errc::no_such_file_or_directory);
        return std::nullopt;
    }
    const std::string k = key(folder);
    std::vector<std::pair<std::uint64_t, FolderEntry>> children;
    for (const auto& [path, child] : nodes_) {
        if (path != k && parentKey(path) == k) {
            // Some file systems do not say what an entry is: this one keeps the caller honest.
            children.emplace_back(child.order, FolderEntry{path, EntryType::unknown});
        }
    }
    std::ranges::sort(children, {}, [](const auto& child) { return child.first; });
    std::vector<FolderEntry> entries;
    for (auto& child : children) {
        entries.push_back(std::move(child.second));
    }
    return entries;
}

FileError InMemoryFileSystem::createDirectories(const std::filesystem::path& folder) {
    for (std::string k = key(folder);; k = parentKey(k)) {
        if (const Node* node = find(k); node && !node->isDirectory) {
            return fileErrorFrom(std::make_error_code(std::errc::not_a_directory));
        }
        if (k == "/") {
            break;
        }
    }
    add(folder, true);
    return {};
}

// Whether one folder of the move is directly inside the other and is a link.
bool InMemoryFileSystem::isLinkedSubfolder(const std::string& from, const std::string& to) const {
    const std::string fromFolder = parentKey(from);
    const std::string toFolder = parentKey(to);
    const std::string inner = parentKey(toFolder) == fromFolder   ? toFolder
                              : parentKey(fromFolder) == toFolder ? fromFolder
                                                                  : std::string();
    const Node* node = inner.empty() || fromFolder == toFolder ? nullptr : find(inner);
    return node && node->isLink;
}

FileError InMemoryFileSystem::move(const std::filesystem::path& from,
                                   const std::filesystem::path& to) {
    const std::string source = key(from);
    const std::string target = key(to);
    if (isLinkedSubfolder(source, target)) {
        return {FileProblem::linkedFolder, std::make_error_code(std::errc::not_a_directory)};
    }
    const Node* moving = find(source);
    if (!moving) {
        return fileErrorFrom(std::make_error_code(std::errc::no_such_file_or_directory));
    }
    if (const Node* there = find(target)) {
        if (source != target && !moving->isDirectory && there->inode == moving->inode) {
            nodes_.erase(source);  // a move by linking cut short: the old name goes
            return {};
        }
        return fileErrorFrom(std::make_error_code(std::errc::file_exists));
    }
    const Node* parent = find(parentKey(target));
    if (!parent || !parent->isDirectory) {
        return {FileProblem::other, std::make_error_code(std::errc::no_such_file_or_directory)};
    }
    if (target.starts_with(source + "/")) {
        return fileErrorFrom(std::make_error_code(std::errc::invalid_argument));
    }
    // The item and everything inside it: its key, then the keys under "source/", which sort
    // together (no byte sorts between '/' and the end of the prefix), so a move stays cheap.
    std::map<std::string, Node> moved;
    moved.emplace(target, nodes_.extract(source).mapped());
    const std::string prefix = source + "/";
    for (auto it = nodes_.lower_bound(prefix);
         it != nodes_.end() && it->first.starts_with(prefix);) {
        moved.emplace(target + it->first.substr(source.size()), it->second);
        it = nodes_.erase(it);
    }
    moved[target].order = nextOrder_++;
    nodes_.merge(moved);
    return {};
}

}  // namespace vesko
