#pragma once

#include <string>
#include <string_view>

namespace vesko {

// Path operations with the meaning the classifier relies on. Names are byte strings: nothing
// here decodes, normalises or validates text. All are pure and may run on any thread.

// The last component of `path`, ignoring trailing slashes: "/a/b.JPG" -> "b.JPG",
// "/a/b/" -> "b", "/" -> "/".
std::string lastPathComponent(std::string_view path);

// The text after the last dot of the last component, or "" when it has no dot. Unlike
// std::filesystem::path::extension, a leading dot counts: ".jpg" -> "jpg", "a." -> "".
std::string_view pathExtension(std::string_view lastComponent);

// `folder` with `name` added as one more component.
std::string appendingPathComponent(std::string_view folder, std::string_view name);

}  // namespace vesko
