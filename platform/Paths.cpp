#include "Paths.h"

namespace vesko {

std::string lastPathComponent(std::string_view path) {
    std::string_view text = path;
    while (text.size() > 1 && text.back() == '/') {
        text.remove_suffix(1);
    }
    if (text == "/") {
        return std::string(text);
    }
    const auto slash = text.rfind('/');
    return std::string(slash == std::string_view::npos ? text : text.substr(slash + 1));
}

std::string_view pathExtension(std::string_view lastComponent) {
    const auto dot = lastComponent.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : lastComponent.substr(dot + 1);
}

std::string appendingPathComponent(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

}  // namespace vesko
