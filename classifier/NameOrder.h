#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vesko {

// The indices of `names` in the order a file manager shows them: runs of digits compare as
// numbers (IMG_9 before IMG_10), ASCII letters without regard to case, everything else by its
// bytes; names that still tie (IMG_01 and IMG_1, a.jpg and A.jpg) go by their bytes. Names
// need not be UTF-8.
std::vector<std::size_t> inNameOrder(const std::vector<std::string_view>& names);

}  // namespace vesko
