#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vesko {

// The type under which a dropped file or folder is requested: the text of its file URL.
inline constexpr std::string_view kFileUrlType = "public.file-url";

using ItemBytes = std::vector<std::uint8_t>;

// An item delivered as something other than a block of bytes; only its kind is known.
struct OtherItem {
    std::string kind;
};

using Item = std::variant<ItemBytes, OtherItem>;

// One dragged item of a drop, whose data is fetched on request.
class ItemProvider {
public:
    using Completion =
        std::function<void(std::optional<Item> item, std::optional<std::string> error)>;

    virtual ~ItemProvider() = default;

    // Starts loading the item's data as `typeIdentifier` and returns at once. Later calls
    // `completion` exactly once, on a thread of the provider's choosing (never the caller's
    // stack): with the item, or with no item when the provider has no data of that type, and
    // with an error text or none. Main thread only; the completion may run on any thread.
    virtual void loadItem(std::string_view typeIdentifier, Completion completion) = 0;
};

}  // namespace vesko
