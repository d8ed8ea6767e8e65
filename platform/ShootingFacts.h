#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vesko {

// A number as EXIF holds it, a fraction of two whole numbers, kept exact (a float cannot tell
// 4294967295 from 4294967296). The denominator is positive.
struct Rational {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;

    bool operator==(const Rational&) const = default;
};

// How a photo was taken, as its metadata tells; each field is absent where the file does not
// say, or says something that cannot be so (a zero or negative exposure, a division by zero).
// Strings are the file's own bytes, trimmed, and need not be valid UTF-8.
struct ShootingFacts {
    std::string make = {};
    std::string model = {};
    std::string lens = {};
    std::optional<Rational> focalLength = {};   // millimetres
    std::optional<int> focalLength35mm = {};    // the same field of view on 35 mm film
    std::optional<Rational> exposureTime = {};  // seconds
    std::optional<Rational> fNumber = {};
    std::optional<int> iso = {};
    std::optional<Rational> exposureBias = {};  // EV
    std::string captureTime = {};               // "YYYY:MM:DD HH:MM:SS", as EXIF writes it
    std::string subSeconds = {};                // the digits after the second's point
    // The sub-seconds were written but are no digits: the time cannot be trusted to the second.
    bool captureTimeDoubtful = false;

    bool operator==(const ShootingFacts&) const = default;
};

}  // namespace vesko
