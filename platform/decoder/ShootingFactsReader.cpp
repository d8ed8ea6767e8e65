#include "platform/decoder/ShootingFactsReader.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/decoder/FileBytes.h"
#include "platform/decoder/Formats.h"

namespace vesko::decoder {
namespace {

using Exiv2::ExifData;

// A camera's string, cut at its first NUL, without control characters or padding, and short
// enough for one line.
std::string cleaned(const std::string& raw) {
    std::string text = raw.substr(0, raw.find('\0'));
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    return text.substr(0, 80);
}

std::string text(const ExifData& exif, ExifData::const_iterator found) {
    return found == exif.end() || found->count() == 0 ? std::string() : cleaned(found->toString());
}

std::string text(const ExifData& exif, const char* key) {
    return text(exif, exif.findKey(Exiv2::ExifKey(key)));
}

bool isWhole(Exiv2::TypeId type) {
    switch (type) {
        case Exiv2::unsignedByte:
        case Exiv2::unsignedShort:
        case Exiv2::unsignedLong:
        case Exiv2::signedByte:
        case Exiv2::signedShort:
        case Exiv2::signedLong:
            return true;
        default:
            return false;
    }
}

// The number as the file holds it: a fraction exactly, a whole number over 1, and exiv2's
// nearest fraction for anything else. Not through exiv2's toFloat, a float, nor its toRational
// for a fraction, which it squeezes into signed 32 bits.
std::optional<Rational> number(const ExifData& exif, ExifData::const_iterator found) {
    if (found == exif.end() || found->count() == 0) return std::nullopt;
    const Exiv2::Value& value = found->value();
    Rational result;
    if (const auto* fraction = dynamic_cast<const Exiv2::URationalValue*>(&value)) {
        result = {fraction->value_.front().first, fraction->value_.front().second};
    } else if (const auto* signedFraction = dynamic_cast<const Exiv2::RationalValue*>(&value)) {
        result = {signedFraction->value_.front().first, signedFraction->value_.front().second};
    } else if (isWhole(value.typeId())) {
        result = {value.toLong(0), 1};
    } else {
        const Exiv2::Rational nearest = value.toRational(0);
        result = {nearest.first, nearest.second};
    }
    if (result.denominator == 0) return std::nullopt;
    if (result.denominator < 0) result = {-result.numerator, -result.denominator};
    return result;
}

std::optional<Rational> positive(const ExifData& exif, ExifData::const_iterator found) {
    const auto value = number(exif, found);
    return value && value->numerator > 0 ? value : std::nullopt;
}

std::optional<Rational> positive(const ExifData& exif, const char* key) {
    return positive(exif, exif.findKey(Exiv2::ExifKey(key)));
}

// The nearest whole number, where an int holds it.
std::optional<int> whole(std::optional<Rational> value) {
    if (!value) return std::nullopt;
    const std::int64_t nearest =
        (2 * value->numerator + value->denominator) / (2 * value->denominator);
    return nearest < INT_MAX ? std::optional(int(nearest)) : std::nullopt;
}

// ISO above 65535 does not fit the old tag, which then says 65535; the newer ones tell.
std::optional<int> iso(const ExifData& exif) {
    const auto value = whole(positive(exif, Exiv2::isoSpeed(exif)));
    if (value && *value < 65535) return value;
    for (const char* key : {"Exif.Photo.RecommendedExposureIndex", "Exif.Photo.ISOSpeed"}) {
        if (auto larger = whole(positive(exif, key))) return larger;
    }
    return value;
}

// What exiv2 prints for a lens it has no name for, or a camera writes for none: "n/a" (Canon's
// type 65535, as an adapted lens reports), "Unknown …", in English or in the language exiv2
// prints in, a number in brackets, or dashes.
bool isPlaceholder(const std::string& name) {
    const auto inBrackets = name.size() > 2 && name.front() == '(' && name.back() == ')';
    if (name.find_first_not_of(inBrackets ? "()0123456789" : "-") == std::string::npos) {
        return true;
    }
    for (const char* english : {"n/a", "Unknown"}) {
        for (const std::string_view placeholder : {english, Exiv2::exvGettext(english)}) {
            if (name.starts_with(placeholder)) return true;
        }
    }
    return false;
}

// exiv2's `lensName` looks first in the maker notes, which name a lens by number, and printing
// looks the number up; where that finds no name, the lens model the camera wrote.
std::string lens(const ExifData& exif) {
    for (const auto found :
         {Exiv2::lensName(exif), exif.findKey(Exiv2::ExifKey("Exif.Photo.LensModel"))}) {
        if (found == exif.end() || found->count() == 0) continue;
        std::string name = cleaned(found->print(&exif));
        if (!isPlaceholder(name)) return name;
    }
    return {};
}

bool allDigits(const std::string& text) {
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// The sub-seconds of a capture time, up to nanoseconds; marked doubtful when no digits.
void readSubSeconds(const ExifData& exif, const char* key, ShootingFacts& facts) {
    const std::string written = text(exif, key);
    facts.captureTimeDoubtful = !allDigits(written);
    facts.subSeconds = facts.captureTimeDoubtful ? std::string() : written.substr(0, 9);
}

ShootingFacts factsOf(const ExifData& exif) {
    ShootingFacts facts;
    facts.make = text(exif, Exiv2::make(exif));
    facts.model = text(exif, Exiv2::model(exif));
    facts.lens = lens(exif);
    facts.focalLength = positive(exif, Exiv2::focalLength(exif));
    facts.focalLength35mm = whole(positive(exif, "Exif.Photo.FocalLengthIn35mmFilm"));
    facts.exposureTime = positive(exif, Exiv2::exposureTime(exif));
    facts.fNumber = positive(exif, Exiv2::fNumber(exif));
    facts.iso = iso(exif);
    const auto bias = number(exif, Exiv2::exposureBiasValue(exif));
    if (bias && std::abs(bias->numerator) < 100 * bias->denominator) facts.exposureBias = bias;
    facts.captureTime = text(exif, Exiv2::dateTimeOriginal(exif));
    readSubSeconds(exif, "Exif.Photo.SubSecTimeOriginal", facts);
    if (facts.captureTime.empty()) {
        facts.captureTime = text(exif, "Exif.Image.DateTime");
        readSubSeconds(exif, "Exif.Photo.SubSecTime", facts);
    }
    return facts;
}

}  // namespace

// Set once, before the first read: exiv2's XMP parser must be initialised before threads use
// it, HEIC and CR3 are read only when asked for, and its warnings are no business of the user.
void prepareExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

ShootingFacts shootingFactsOfExif(std::span<const std::uint8_t> tiff) {
    if (tiff.empty() || tiff.size() > UINT32_MAX) return {};
    prepareExiv2();
    try {
        ExifData exif;
        Exiv2::ExifParser::decode(exif, tiff.data(), std::uint32_t(tiff.size()));
        return factsOf(exif);
    } catch (...) {
        return {};
    }
}

ShootingFacts readShootingFacts(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > std::size_t(LONG_MAX)) return {};
    // exiv2 0.27 misreads the item locations that libheif writes (it ignores their base
    // offset), so HEIC's block comes from libheif, which parses the container anyway.
    if (sniffFormat(bytes) == Format::Heic) return shootingFactsOfExif(heicExif(bytes));
    prepareExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(bytes.data(), long(bytes.size()));
        if (!image.get()) return {};
        image->readMetadata();
        return factsOf(image->exifData());
    } catch (...) {
        // exiv2 reports damaged metadata by throwing; what it could not read is simply absent.
        return {};
    }
}

ShootingFacts readShootingFactsOfFile(const std::filesystem::path& file) {
    // A JPEG's EXIF block fits in its first 64 KiB; a RAW file's IFDs are seldom further.
    constexpr std::size_t kStart = 256 * 1024;
    auto opened = RegularFile::open(file);
    if (!opened) return {};
    const auto start = opened->read(0, kStart);
    if (!start) return {};
    ShootingFacts facts = readShootingFacts(*start);
    // A JPEG's EXIF comes before its pixels: without a time at the start it has none.
    const bool toldAll = sniffFormat(*start) == Format::Jpeg || !facts.captureTime.empty();
    if (toldAll || opened->size() <= kStart) return facts;
    const auto whole = opened->read(0, std::size_t(opened->size()));
    return whole ? readShootingFacts(*whole) : facts;
}

}  // namespace vesko::decoder
