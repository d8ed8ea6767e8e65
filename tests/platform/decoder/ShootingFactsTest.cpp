#include <exiv2/exiv2.hpp>

#include <cmath>

#include "DecoderTestSupport.h"
#include "RawImages.h"

namespace vesko {
namespace {

using namespace testimages;

// A TIFF block as a camera writes it, by exiv2's own writer; `hostile` adds what a broken or
// malicious file holds: divisions by zero and a name that is not UTF-8.
Bytes cameraExif(Exiv2::ByteOrder order, bool hostile = false) {
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
    if (hostile) {
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 0);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(0, 0);
        exif["Exif.Image.Model"] = std::string("Z\xff\xfe 6");
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, exif);
    return {blob.begin(), blob.end()};
}

ShootingFacts nikon() {
    return {"NIKON CORPORATION",
            "NIKON Z 6",
            "NIKKOR Z 24-70mm f/4 S",
            70.0,
            70,
            1.0 / 250,
            4.0,
            800,
            -2.0 / 3,
            "2026:11:28 14:03:59",
            "40"};
}

// The facts travel with the decoded image, from each container's own place for EXIF.
TEST_F(DecoderTest, ShootingFactsComeWithThePixels) {
    ShootingFacts hostile = nikon();
    hostile.model = "Z\xff\xfe 6";
    hostile.exposureTime.reset();
    hostile.fNumber.reset();
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
         encodeJpeg(markedCorners(), {.exif = cameraExif(Exiv2::littleEndian, true)}), hostile},
        {"HEIC",
         fixture("facts.heic"),
         {"Apple", "iPhone 14 Pro", "iPhone 14 Pro back triple camera 6.86mm f/1.78", 6.86, 24,
          1.0 / 120, 1.78, 64, 0.0, "2026:06:01 18:42:07", "318"}},
        {"RAW shot, from the RAW's own tags",
         makeDng(markedCorners(), {.preview = encodeJpeg(markedCorners())}),
         {.make = "Vesko", .model = "Test DNG"}},
        {"PNG without EXIF", encodePng(markedCorners()), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageHandle image = decodeBytes(c.file);
        ASSERT_TRUE(image);
        ShootingFacts read = image->facts();
        const auto rounded = [](std::optional<double>& value) {
            if (value) value = std::round(*value * 1e4) / 1e4;
        };
        ShootingFacts expected = c.facts;
        for (auto* facts : {&read, &expected}) {
            rounded(facts->focalLength);
            rounded(facts->exposureTime);
            rounded(facts->fNumber);
            rounded(facts->exposureBias);
        }
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
}  // namespace vesko
