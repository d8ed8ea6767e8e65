#include <gtest/gtest.h>

#include "classifier/ChangePublisher.h"

namespace vesko {
namespace {

TEST(ChangePublisher, CallsEveryObserverUntilItUnsubscribes) {
    ChangePublisher publisher;
    int first = 0;
    int second = 0;
    auto a = publisher.subscribe([&] { ++first; });
    {
        auto b = publisher.subscribe([&] { ++second; });
        publisher.send();
    }
    publisher.send();
    a.cancel();
    publisher.send();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 1);
}

TEST(ChangePublisher, ObserverMayUnsubscribeItselfWhileBeingCalled) {
    ChangePublisher publisher;
    int calls = 0;
    ChangePublisher::Subscription self;
    self = publisher.subscribe([&] {
        ++calls;
        self.cancel();
    });
    auto other = publisher.subscribe([] {});
    publisher.send();
    publisher.send();
    EXPECT_EQ(calls, 1);
}

TEST(ChangePublisher, SubscriptionMayOutliveThePublisher) {
    ChangePublisher::Subscription subscription;
    {
        ChangePublisher publisher;
        subscription = publisher.subscribe([] {});
    }
    subscription.cancel();  // must not touch the gone publisher
}

TEST(Published, AnnouncesBeforeStoringAlsoForAnEqualValue) {
    ChangePublisher publisher;
    Published<int> field(publisher, 1);
    std::vector<int> seen;
    auto subscription = publisher.subscribe([&] { seen.push_back(field.get()); });
    field.set(2);
    field.set(2);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(field.get(), 2);
}

}  // namespace
}  // namespace vesko
