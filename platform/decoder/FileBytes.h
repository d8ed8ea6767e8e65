#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vesko::decoder {

// Files larger than this are not read: no photo comes near it.
inline constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(1) << 30;

// A regular file open for reading. Opening never blocks on a special file (a folder, a pipe, a
// device): those, like missing, empty, too large and unreadable files, give nothing.
class RegularFile {
public:
    static std::optional<RegularFile> open(const std::filesystem::path& file);
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&&) = delete;

    int descriptor() const { return fd_; }
    std::uint64_t size() const { return size_; }
    // Up to `length` bytes from `offset`: fewer where the file has shrunk since it was opened;
    // nothing when it cannot be read or the memory cannot be had.
    std::optional<std::vector<std::uint8_t>> read(std::uint64_t offset, std::size_t length) const;
    // As read(), into the start of `buffer`, which only ever grows: memory read into before is
    // not faulted in again.
    std::optional<std::span<const std::uint8_t>> readInto(std::vector<std::uint8_t>& buffer,
                                                          std::uint64_t offset,
                                                          std::size_t length) const;

private:
    RegularFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::uint64_t size_;
};

// The whole content of a regular file, or nothing as for RegularFile::open().
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file);

}  // namespace vesko::decoder
