#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/ItemProvider.h"

namespace vesko {

// Delivers a fixed item on a thread of its own, like a real drop. Destroying it waits for the
// delivery to finish.
class FakeItemProvider : public ItemProvider {
public:
    FakeItemProvider(std::optional<Item> item, std::optional<std::string> error = std::nullopt)
        : item_(std::move(item)), error_(std::move(error)) {}
    // An item whose bytes are the given URL text.
    static std::shared_ptr<FakeItemProvider> forUrl(std::string_view url);
    ~FakeItemProvider() override;

    void loadItem(std::string_view typeIdentifier, Completion completion) override;
    // Blocks until the completion has returned.
    void waitForDelivery();

private:
    std::optional<Item> item_;
    std::optional<std::string> error_;
    std::thread delivery_;
};

}  // namespace vesko
