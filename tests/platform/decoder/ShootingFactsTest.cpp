#include <exiv2/exiv2.hpp>

#include <functional>

#include "DecoderTestSupport.h"
#include "RawImages.h"

namespace vesko {
namespace {

using namespace testimages;

// A TIFF block as a camera writes it, by exiv2's own writer, changed by `edit`.
Bytes cameraExif(
    Exiv2::ByteOrder order,
    const std::function<void(Exiv2::ExifData&)>& edit = [](Exiv2::ExifData&) {}) {
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "NIKON CORPORATION";
    exif["Exif.Image.Model"] = "NIKON Z 6";
    exif["Exif.Photo.LensModel"] = "NIKKOR Z 24-70mm f/4 S";
    exif["Exif.Photo.FocalLength"] = Exiv2::URational(700, 10);
    exif["Exif.Photo.FocalLengthIn35mmFilm"] = std::uint16_t(70);
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(40, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = std::uint16_t(800);
    exif["Exif.Photo.ExposureBiasValue"] = Exiv2::Rational(-2, 3);
    exif["Exif.Photo.DateTimeOriginal"] = "2026:11:28 14:03:59";
    exif["Exif.Photo.SubSecTimeOriginal"] = "40";
    edit(exif);
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, exif);
    return {blob.begin(), blob.end()};
}

ShootingFacts nikon() {
    return {"NIKON CORPORATION",   "NIKON Z 6", "NIKKOR Z 24-70mm f/4 S",
            Rational{700, 10},     70,          Rational{1, 250},
            Rational{40, 10},      800,         Rational{-2, 3},
            "2026:11:28 14:03:59", "40"};
}

// The facts travel with the decoded image, from each container's own place for EXIF.
TEST_F(DecoderTest, ShootingFactsComeWithThePixels) {
    // What a broken or malicious file holds: divisions by zero and a name that is not UTF-8.
    const auto hostileExif = [](Exiv2::ExifData& exif) {
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 0);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(0, 0);
        exif["Exif.Image.Model"] = std::string("Z\xff\xfe 6");
    };
    ShootingFacts hostile = nikon();
    hostile.model = "Z\xff\xfe 6";
    hostile.exposureTime.reset();
    hostile.fNumber.reset();
    // The largest fraction EXIF holds.
    const auto largestExif = [](Exiv2::ExifData& exif) {
        exif["Exif.Photo.FocalLength"] = Exiv2::URational(4294967295, 1);
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(4294967295, 1);
    };
    ShootingFacts largest = nikon();
    largest.focalLength = largest.exposureTime = Rational{4294967295, 1};
    // A lens the camera does not know: Canon's type 65535, which exiv2 prints "n/a".
    const auto adaptedLensExif = [](Exiv2::ExifData& exif) {
        exif["Exif.Image.Make"] = "Canon";
        exif["Exif.CanonCs.LensType"] = std::uint16_t(65535);
    };
    ShootingFacts adaptedLens = nikon();
    adaptedLens.make = "Canon";
    const struct {
        std::string name;
        Bytes file;
        ShootingFacts facts;
    } cases[] = {
        {"JPEG, big-endian EXIF",
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::bigEndian)}), nikon()},
        {"JPEG, little-endian EXIF",
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::littleEndian)}), nikon()},
        {"JPEG, hostile EXIF",
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::littleEndian, hostileExif)}),
         hostile},
        {"JPEG, the largest fraction",
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::bigEndian, largestExif)}), largest},
        {"JPEG, a lens type without a name",
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::littleEndian, adaptedLensExif)}),
         adaptedLens},
        {"HEIC",
         fixture("facts.heic"),
         {"Apple", "iPhone 14 Pro", "iPhone 14 Pro back triple camera 6.86mm f/1.78",
          Rational{686, 100}, 24, Rational{1, 120}, Rational{178, 100}, 64, Rational{0, 1},
          "2026:06:01 18:42:07", "318"}},
        {"RAW shot, from the RAW's own tags",
         makeDng(markedCorners(), {.preview = encodeJpeg(markedCorners())}),
         {.make = "Vesko", .model = "Test DNG"}},
        {"PNG without EXIF", encodePng(markedCorners()), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageHandle image = decodeBytes(c.file);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->facts(), c.facts);
    }
}

}  // namespace
}  // namespace vesko
