#pragma once

#include <memory>
#include <set>

#include "platform/FileSystem.h"

namespace vesko {

// Wraps another file system and fails the operations a test chooses, without touching the
// wrapped one; counts every call.
class FailingFileSystem : public FileSystem {
public:
    enum class Operation { kindOf, list, createDirectories, move };

    explicit FailingFileSystem(std::shared_ptr<FileSystem> inner) : inner_(std::move(inner)) {}

    void fail(Operation operation) { failing_.insert(operation); }
    void heal(Operation operation) { failing_.erase(operation); }
    int calls(Operation operation) const;

    PathKind kindOf(const std::filesystem::path& path) const override;
    std::optional<std::vector<std::string>> list(
        const std::filesystem::path& folder) const override;
    std::error_code createDirectories(const std::filesystem::path& folder) override;
    std::error_code move(const std::filesystem::path& from,
                         const std::filesystem::path& to) override;

private:
    bool fails(Operation operation) const;

    std::shared_ptr<FileSystem> inner_;
    std::set<Operation> failing_;
    mutable int calls_[4] = {};
};

}  // namespace vesko
