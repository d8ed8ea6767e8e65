#include "ChangePublisher.h"

#include <algorithm>

namespace vesko {

ChangePublisher::Subscription& ChangePublisher::Subscription::operator=(
    Subscription&& other) noexcept {
    if (this != &other) {
        cancel();
        observers_ = std::move(other.observers_);
        id_ = other.id_;
    }
    return *this;
}

ChangePublisher::Subscription::~Subscription() { cancel(); }

void ChangePublisher::Subscription::cancel() {
    if (auto observers = observers_.lock()) {
        std::erase_if(observers->entries, [this](const Entry& entry) { return entry.id == id_; });
    }
    observers_.reset();
}

ChangePublisher::ChangePublisher() : observers_(std::make_shared<Observers>()) {}

ChangePublisher::Subscription ChangePublisher::subscribe(Observer observer) {
    const std::uint64_t id = observers_->nextId++;
    observers_->entries.push_back({id, std::make_shared<Observer>(std::move(observer))});
    return Subscription(observers_, id);
}

void ChangePublisher::send() const {
    if (observers_->entries.empty()) {
        return;
    }
    if (observers_->entries.size() == 1) {
        // The common case: one window. Hold the callback so it may unsubscribe itself.
        const auto observer = observers_->entries.front().observer;
        (*observer)();
        return;
    }
    const auto snapshot = observers_->entries;
    for (const Entry& entry : snapshot) {
        (*entry.observer)();
    }
}

}  // namespace vesko
