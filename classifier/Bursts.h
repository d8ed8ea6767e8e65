#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/ShootingFacts.h"

namespace vesko {

// When a photo was taken, as far as its file tells and can be believed, and the exposure
// compensation it was taken with.
struct CaptureMoment {
    std::int64_t nanoseconds = 0;  // since 1970-01-01 00:00:00 of the camera's own clock
    std::optional<double> exposureBias = {};

    bool operator==(const CaptureMoment&) const = default;
};

// Nothing when the file tells no time, or one no camera writes: a date that does not exist, a
// year before photography was digital, sub-seconds that are no digits, anything after the
// second (a time zone offset).
std::optional<CaptureMoment> captureMomentOf(const ShootingFacts& facts);

// Whether a photo taken at `later` belongs to the burst of one taken at `earlier`: at most a
// second apart and with the same exposure compensation (a change makes a bracket).
bool continuesBurst(const CaptureMoment& earlier, const CaptureMoment& later);

// Where a photo stands in its burst, counted from 1.
struct BurstPlace {
    std::size_t position = 0;
    std::size_t count = 0;

    bool operator==(const BurstPlace&) const = default;
};

// The burst of the photo at offset 0 of a run of `length` photos, each known by
// `momentAt(offset)` for offsets in (-length, length): the photos before it count back from
// -1. Nothing when it is in no burst.
std::optional<BurstPlace> burstAround(
    std::size_t length, const std::function<std::optional<CaptureMoment>(long)>& momentAt);

}  // namespace vesko
