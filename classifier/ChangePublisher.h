#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vesko {

// A will-change publisher: observers subscribe with a callback that takes no value, and every
// send calls each of them once, in subscription order. Observers may subscribe or unsubscribe
// from inside a callback; the change takes effect from the next send. Single-threaded.
class ChangePublisher {
    struct Observers;

public:
    using Observer = std::function<void()>;

    // Keeps an observer subscribed for as long as it lives. Safe to outlive the publisher.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&&) noexcept = default;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription();

        void cancel();

    private:
        friend class ChangePublisher;
        Subscription(std::weak_ptr<Observers> observers, std::uint64_t id)
            : observers_(std::move(observers)), id_(id) {}

        std::weak_ptr<Observers> observers_;
        std::uint64_t id_ = 0;
    };

    ChangePublisher();

    [[nodiscard]] Subscription subscribe(Observer observer);
    void send() const;

private:
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Observer> observer;
    };
    struct Observers {
        std::vector<Entry> entries;
        std::uint64_t nextId = 1;
    };

    std::shared_ptr<Observers> observers_;
};

// A published field: every assignment announces the change first, then stores the value, also
// when the value is equal to the one it replaces.
template <typename T>
class Published {
public:
    Published(const ChangePublisher& publisher, T initial)
        : publisher_(publisher), value_(std::move(initial)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return value_; }

    void set(T value) {
        publisher_.send();
        value_ = std::move(value);
    }

private:
    const ChangePublisher& publisher_;
    T value_;
};

}  // namespace vesko
