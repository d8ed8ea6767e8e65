#include "platform/decoder/ShootingFactsReader.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <mutex>

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

std::optional<double> number(const ExifData& exif, ExifData::const_iterator found) {
    if (found == exif.end() || found->count() == 0) return std::nullopt;
    const double value = found->toFloat(0);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> positive(const ExifData& exif, ExifData::const_iterator found) {
    const auto value = number(exif, found);
    return value && *value > 0 ? value : std::nullopt;
}

std::optional<int> whole(const ExifData& exif, const char* key) {
    const auto value = positive(exif, exif.findKey(Exiv2::ExifKey(key)));
    return value && *value < INT_MAX ? std::optional(int(std::lround(*value))) : std::nullopt;
}

// ISO above 65535 does not fit the old tag, which then says 65535; the newer ones tell.
std::optional<int> iso(const ExifData& exif) {
    auto value = positive(exif, Exiv2::isoSpeed(exif));
    if (value && *value < 65535) return int(std::lround(*value));
    for (const char* key : {"Exif.Photo.RecommendedExposureIndex", "Exif.Photo.ISOSpeed"}) {
        if (auto larger = whole(exif, key)) return larger;
    }
    return value && *value < INT_MAX ? std::optional(int(std::lround(*value))) : std::nullopt;
}

std::string lens(const ExifData& exif) {
    const auto found = Exiv2::lensName(exif);
    if (found == exif.end() || found->count() == 0) return {};
    // The maker notes name a lens by number; printing looks the number up.
    std::string name = cleaned(found->print(&exif));
    return name == "(0)" || name.starts_with("Unknown") ? std::string() : name;
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
    facts.focalLength35mm = whole(exif, "Exif.Photo.FocalLengthIn35mmFilm");
    facts.exposureTime = positive(exif, Exiv2::exposureTime(exif));
    facts.fNumber = positive(exif, Exiv2::fNumber(exif));
    facts.iso = iso(exif);
    const auto bias = number(exif, Exiv2::exposureBiasValue(exif));
    if (bias && std::abs(*bias) < 100) facts.exposureBias = bias;
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
