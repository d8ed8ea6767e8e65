#pragma once

#include <map>
#include <memory>

#include "platform/FileSystem.h"

namespace vesko {

// Wraps another file system and fails the listings, folder creations and moves a test
// chooses, without touching the wrapped one; counts every call of those.
class FailingFileSystem : public FileSystem {
public:
    enum class Operation { list, createDirectories, move };

    explicit FailingFileSystem(std::shared_ptr<FileSystem> inner) : inner_(std::move(inner)) {}

    // Fails `operation` with `problem` until healed.
    void fail(Operation operation, FileProblem problem = FileProblem::notWritable) {
        failing_[operation] = problem;
    }
    void heal(Operation operation) { failing_.erase(operation); }
    // Fails only the `count`-th move from now (1 is the next one), with `problem`; may be
    // called again for further moves.
    void failMoveNumber(int count, FileProblem problem = FileProblem::notWritable) {
        failingMoves_[calls(Operation::move) + count] = problem;
    }
    int calls(Operation operation) const;

    PathKind kindOf(const std::filesystem::path& path) const override {
        return inner_->kindOf(path);
    }
    std::optional<std::vector<FolderEntry>> list(const std::filesystem::path& folder,
                                                 std::error_code* why = nullptr) const override;
    bool isFileOrLink(const std::filesystem::path& path) const override {
        return inner_->isFileOrLink(path);
    }
    bool isGone(const std::filesystem::path& path) const override { return inner_->isGone(path); }
    std::optional<FileKey> keyOf(const std::filesystem::path& path) const override {
        return inner_->keyOf(path);
    }
    FileError createDirectories(const std::filesystem::path& folder) override;
    FileError move(const std::filesystem::path& from, const std::filesystem::path& to) override;

private:
    std::optional<FileError> failure(Operation operation) const;

    std::shared_ptr<FileSystem> inner_;
    std::map<Operation, FileProblem> failing_;
    mutable int calls_[3] = {};
    std::map<int, FileProblem> failingMoves_;
};

}  // namespace vesko
