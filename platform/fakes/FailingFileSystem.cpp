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

std::optional<std::vector<FolderEntry>> FailingFileSystem::list(const std::filesystem::path& folder,
                                                                std::error_code* why) const {
    if (const auto failed = failure(Operation::list)) {
        if (why) *why = failed->cause;
        return std::nullopt;
    }
    return inner_->list(folder, why);
}

FileError FailingFileSystem::createDirectories(const std::filesystem::path& folder) {
    const auto failed = failure(Operation::createDirectories);
    return failed ? *failed : inner_->createDirectories(folder);
}

FileError FailingFileSystem::move(const std::filesystem::path& from,
                                  const std::filesystem::path& to) {
    auto failed = failure(Operation::move);
    if (const auto it = failingMoves_.find(calls(Operation::move)); it != failingMoves_.end()) {
        failed = FileError{it->second, std::make_error_code(std::errc::io_error)};
    }
    return failed ? *failed : inner_->move(from, to);
}

}  // namespace vesko
