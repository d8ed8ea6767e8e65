#include "FailingFileSystem.h"

namespace vesko {

int FailingFileSystem::calls(Operation operation) const {
    return calls_[static_cast<int>(operation)];
}

std::optional<FileError> FailingFileSystem::failure(Operation operation) const {
    ++calls_[static_cast<int>(operation)];
    const auto it = failing_.find(operation);
    if (it == failing_.end()) {
        return std::nullopt;
    }
    return FileError{it->second, std::make_error_code(std::errc::io_error)};
}

PathKind FailingFileSystem::kindOf(const std::filesystem::path& path) const {
    return failure(Operation::kindOf) ? PathKind{} : inner_->kindOf(path);
}

std::optional<std::vector<FolderEntry>> FailingFileSystem::list(
    const std::filesystem::path& folder) const {
    return failure(Operation::list) ? std::nullopt : inner_->list(folder);
}

FileError FailingFileSystem::createDirectories(const std::filesystem::path& folder) {
    const auto failed = failure(Operation::createDirectories);
    return failed ? *failed : inner_->createDirectories(folder);
}

FileError FailingFileSystem::move(const std::filesystem::path& from,
                                  const std::filesystem::path& to) {
    auto failed = failure(Operation::move);
    if (calls(Operation::move) == failingMove_) {
        failed = FileError{failingMoveProblem_, std::make_error_code(std::errc::io_error)};
    }
    return failed ? *failed : inner_->move(from, to);
}

}  // namespace vesko
