#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vesko::decoder {

// Files larger than this are not read: no photo comes near it.
inline constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(1) << 30;

// The whole content of a regular file, or nothing when it is missing, not a regular file (a
// folder, a pipe, a device), too large or unreadable. Never blocks on a special file.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file);

}  // namespace vesko::decoder
