#include <gtest/gtest.h>

#include "classifier/ChangePublisher.h"

namespace vesko {

// Observers are called until they cancel, also from inside their own call; a subscription
// may outlive its publisher.
TEST(ChangePublisher, CallsEachObserverUntilItsSubscriptionEnds) {
    ChangePublisher::Subscription outliving;
    std::vector<char> calls;
    {
        ChangePublisher publisher;
        auto a = publisher.subscribe([&] { calls.push_back('a'); });
        ChangePublisher::Subscription self;
        self = publisher.subscribe([&] {
            calls.push_back('s');
            self.cancel();
        });
        {
            auto b = publisher.subscribe([&] { calls.push_back('b'); });
            publisher.send();
        }
        publisher.send();
        a.cancel();
        publisher.send();
        outliving = publisher.subscribe([] {});
    }
    outliving.cancel();
    EXPECT_EQ(calls, (std::vector<char>{'a', 's', 'b', 'a'}));
}

}  // namespace vesko
