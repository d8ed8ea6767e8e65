#include <gtest/gtest.h>

#include "classifier/Bursts.h"

namespace vesko {
namespace {

using Places = std::vector<std::optional<BurstPlace>>;
constexpr std::nullopt_t none = std::nullopt;

ShootingFacts at(const char* time, const char* subSeconds = "", std::optional<Rational> bias = {}) {
    return {.exposureBias = bias, .captureTime = time, .subSeconds = subSeconds};
}

struct BurstCase {
    const char* name;
    std::vector<ShootingFacts> photos;  // in queue order
    Places places;
};

// Which neighbours make a burst, and what never groups a photo by accident.
TEST(BurstsTest, GroupsNeighboursAtMostASecondApart) {
    const char* t = "2026:11:28 14:03:59";
    const char* next = "2026:11:28 14:04:00";
    const char* later = "2026:11:28 14:04:01";
    const std::vector<BurstCase> cases = {
        {"sub-seconds, a second apart at most",
         {at(t, "1"), at(t, "45"), at(next, "45"), at(later, "451")},
         {BurstPlace{1, 3}, BurstPlace{2, 3}, BurstPlace{3, 3}, none}},
        {"the same second without sub-seconds",
         {at(t), at(t)},
         {BurstPlace{1, 2}, BurstPlace{2, 2}}},
        {"a bracket",
         {at(t, "", Rational{-1}), at(t, "", Rational{0}), at(t, "", Rational{1})},
         {none, none, none}},
        {"the same compensation",
         {at(t, "", Rational{33, 100}), at(t, "", Rational{1, 3})},
         {BurstPlace{1, 2}, BurstPlace{2, 2}}},
        {"a photo between two bursts (a PNG without EXIF)",
         {at(t), at(t), ShootingFacts{}, at(next), at(next)},
         {BurstPlace{1, 2}, BurstPlace{2, 2}, none, BurstPlace{1, 2}, BurstPlace{2, 2}}},
        {"absurd times never group, not even alike",
         {at("0000:01:01 00:00:00"), at("0000:01:01 00:00:00"), at("2026:11:28 14:03:59+02:00"),
          at("2026:11:28 14:03:59+02:00"), at("2026:02:29 14:03:59"), at("2026:02:29 14:03:59"),
          ShootingFacts{.captureTime = t, .captureTimeDoubtful = true},
          ShootingFacts{.captureTime = t, .captureTimeDoubtful = true}},
         Places(8, none)},
    };
    for (const BurstCase& c : cases) {
        std::vector<std::optional<CaptureMoment>> moments;
        for (const ShootingFacts& facts : c.photos) moments.push_back(captureMomentOf(facts));
        Places places;
        for (std::size_t i = 0; i < moments.size(); ++i) {
            places.push_back(burstAround(moments.size(), [&](long offset) {
                const long at = long(i) + offset;
                return at >= 0 && at < long(moments.size()) ? moments[std::size_t(at)]
                                                            : std::nullopt;
            }));
        }
        EXPECT_EQ(places, c.places) << c.name;
    }
}

}  // namespace
}  // namespace vesko
