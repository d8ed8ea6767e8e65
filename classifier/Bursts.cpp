#include "Bursts.h"

#include <cmath>
#include <string_view>

namespace vesko {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

// The number in text[from, from + length) when it is all digits.
std::optional<int> digitsAt(std::string_view text, std::size_t from, std::size_t length) {
    int value = 0;
    for (const char c : text.substr(from, length)) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (H. Hinnant's algorithm).
std::int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t(era) * 146097 + dayOfEra - 719468;
}

// "YYYY:MM:DD HH:MM:SS" and nothing else, as seconds since 1970.
std::optional<std::int64_t> secondsOf(std::string_view text) {
    if (text.size() != 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2),
               day = digitsAt(text, 8, 2), hour = digitsAt(text, 11, 2),
               minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*year < 1980 || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month) || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return daysFromCivil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second;
}

// The digits after the second's point as nanoseconds: "4" is 400 ms, "040" 40 ms.
std::optional<std::int64_t> fractionOf(std::string_view digits) {
    std::int64_t nanoseconds = 0;
    std::int64_t scale = kNanosecondsPerSecond;
    for (const char c : digits.substr(0, 9)) {
        if (c < '0' || c > '9') return std::nullopt;
        scale /= 10;
        nanoseconds += (c - '0') * scale;
    }
    return nanoseconds;
}

}  // namespace

std::optional<CaptureMoment> captureMomentOf(const ShootingFacts& facts) {
    if (facts.captureTimeDoubtful) return std::nullopt;
    const auto seconds = secondsOf(facts.captureTime);
    const auto fraction = fractionOf(facts.subSeconds);
    if (!seconds || !fraction) return std::nullopt;
    std::optional<double> bias;
    if (facts.exposureBias && facts.exposureBias->denominator != 0) {
        bias = double(facts.exposureBias->numerator) / double(facts.exposureBias->denominator);
    }
    return CaptureMoment{*seconds * kNanosecondsPerSecond + *fraction, bias};
}

bool continuesBurst(const CaptureMoment& earlier, const CaptureMoment& later) {
    // Compensation is written in thirds of a stop, as rationals that need not match exactly.
    const bool sameBias =
        earlier.exposureBias.has_value() == later.exposureBias.has_value() &&
        (!earlier.exposureBias || std::abs(*earlier.exposureBias - *later.exposureBias) < 0.01);
    return sameBias && std::abs(later.nanoseconds - earlier.nanoseconds) <= kNanosecondsPerSecond;
}

std::optional<BurstPlace> burstAround(
    std::size_t length, const std::function<std::optional<CaptureMoment>(long)>& momentAt) {
    const auto here = length > 0 ? momentAt(0) : std::nullopt;
    if (!here) return std::nullopt;
    const long limit = long(length);
    long first = 0;
    auto earliest = here;
    for (; first - 1 > -limit; --first) {
        const auto before = momentAt(first - 1);
        if (!before || !continuesBurst(*before, *earliest)) break;
        earliest = before;
    }
    long last = 0;
    auto latest = here;
    for (; last + 1 - first < limit; ++last) {
        const auto after = momentAt(last + 1);
        if (!after || !continuesBurst(*latest, *after)) break;
        latest = after;
    }
    if (first == last) return std::nullopt;
    return BurstPlace{std::size_t(1 - first), std::size_t(last - first + 1)};
}

}  // namespace vesko
