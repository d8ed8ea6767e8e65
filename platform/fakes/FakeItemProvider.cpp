#include "FakeItemProvider.h"

namespace vesko {

std::shared_ptr<FakeItemProvider> FakeItemProvider::forUrl(std::string_view url) {
    return std::make_shared<FakeItemProvider>(Item{ItemBytes(url.begin(), url.end())});
}

FakeItemProvider::~FakeItemProvider() { waitForDelivery(); }

void FakeItemProvider::loadItem(std::string_view, Completion completion) {
    delivery_ = std::thread([item = item_, error = error_, completion = std::move(completion)] {
        completion(item, error);
    });
}

void FakeItemProvider::waitForDelivery() {
    if (delivery_.joinable()) {
        delivery_.join();
    }
}

}  // namespace vesko
