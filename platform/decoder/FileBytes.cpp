#include "platform/decoder/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace vesko::decoder {

std::optional<RegularFile> RegularFile::open(const std::filesystem::path& file) {
    // Non-blocking, so that a named pipe that happens to be called x.jpg cannot stall the call.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
        std::uintmax_t(status.st_size) > kMaxFileBytes) {
        ::close(fd);
        return std::nullopt;
    }
    return RegularFile(fd, std::uint64_t(status.st_size));
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

RegularFile::RegularFile(RegularFile&& other) noexcept : fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
}

std::optional<std::vector<std::uint8_t>> RegularFile::read(std::uint64_t offset,
                                                           std::size_t length) const {
    std::vector<std::uint8_t> bytes;
    const auto got = readInto(bytes, offset, length);
    if (!got) return std::nullopt;
    bytes.resize(got->size());
    return bytes;
}

std::optional<std::span<const std::uint8_t>> RegularFile::readInto(
    std::vector<std::uint8_t>& buffer, std::uint64_t offset, std::size_t length) const {
    try {
        if (buffer.size() < length) buffer.resize(length);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, buffer.data() + done, length - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;  // the file shrank while being read
        done += std::size_t(got);
    }
    return std::span<const std::uint8_t>(buffer.data(), done);
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
    const auto opened = RegularFile::open(file);
    if (!opened) return std::nullopt;
    return opened->read(0, std::size_t(opened->size()));
}

}  // namespace vesko::decoder
