#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vesko {

// Reads the text of a local file URL ("file:///home/ana/My%20Photos/", "file:/home/ana",
// "file://localhost/home/ana") and returns the absolute path it names, percent-decoded byte for
// byte (any byte but NUL may be escaped, a newline too) and without trailing slashes. Returns
// nothing for anything else: another scheme, a remote host, a relative reference, a malformed
// escape, an escaped NUL, or a control byte that is not escaped. Pure; any thread.
std::optional<std::filesystem::path> pathFromUrlBytes(std::span<const std::uint8_t> bytes);

// The file URL for an absolute path, percent-encoding every byte outside the unreserved set
// and '/'. The inverse of pathFromUrlBytes. Pure; any thread.
std::string fileUrlFromPath(const std::filesystem::path& path);

}  // namespace vesko
