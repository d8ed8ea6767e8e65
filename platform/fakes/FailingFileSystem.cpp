#include "FailingFileSystem.h"

namespace vesko {
namespace {

std::error_code injected() { return std::make_error_code(std::errc::permission_denied); }

}  // namespace

int FailingFileSystem::calls(Operation operation) const {
    return calls_[static_cast<int>(operation)];
}

bool FailingFileSystem::fails(Operation operation) const {
    ++calls_[static_cast<int>(operation)];
    return failing_.contains(operation);
}

PathKind FailingFileSystem::kindOf(const std::filesystem::path& path) const {
    return fails(Operation::kindOf) ? PathKind{} : inner_->kindOf(path);
}

std::optional<std::vector<std::string>> FailingFileSystem::list(
    const std::filesystem::path& folder) const {
    return fails(Operation::list) ? std::nullopt : inner_->list(folder);
}

std::error_code FailingFileSystem::createDirectories(const std::filesystem::path& folder) {
    return fails(Operation::createDirectories) ? injected() : inner_->createDirectories(folder);
}

std::error_code FailingFileSystem::move(const std::filesystem::path& from,
                                        const std::filesystem::path& to) {
    return fails(Operation::move) ? injected() : inner_->move(from, to);
}

}  // namespace vesko
