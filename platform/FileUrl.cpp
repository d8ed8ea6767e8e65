#include "FileUrl.h"

#include <string_view>

namespace vesko {
namespace {

constexpr std::string_view kScheme = "file:";
constexpr std::string_view kAuthority = "//";
constexpr std::string_view kLocalhost = "localhost";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

bool hasControlByte(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<std::filesystem::path> pathFromUrlBytes(std::span<const std::uint8_t> bytes) {
    const std::string_view url(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (hasControlByte(url) || !startsWithIgnoringCase(url, kScheme)) {
        return std::nullopt;
    }
    // "file:/path", or "file://host/path" with no host or this one.
    std::string_view rest = url.substr(kScheme.size());
    if (rest.starts_with(kAuthority)) {
        rest.remove_prefix(kAuthority.size());
        const std::string_view host = rest.substr(0, rest.find('/'));
        if (!host.empty() &&
            !(host.size() == kLocalhost.size() && startsWithIgnoringCase(host, kLocalhost))) {
            return std::nullopt;
        }
        rest.remove_prefix(host.size());
    }
    if (!rest.starts_with('/')) {
        return std::nullopt;
    }
    const std::string_view encodedPath = rest.substr(0, rest.find_first_of("?#"));
    auto path = percentDecoded(encodedPath);
    // Any byte may be escaped but NUL, which no path holds.
    if (!path || path->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    while (path->size() > 1 && path->back() == '/') {
        path->pop_back();
    }
    return std::filesystem::path(std::move(*path));
}

std::string fileUrlFromPath(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = std::string(kScheme) + std::string(kAuthority);
    for (const char c : path.native()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            url.push_back(c);
        } else {
            url.push_back('%');
            url.push_back(kHex[byte >> 4]);
            url.push_back(kHex[byte & 0xf]);
        }
    }
    return url;
}

}  // namespace vesko
