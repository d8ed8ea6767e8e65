#include <sys/stat.h>

#include <string>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using namespace testimages;

Bytes firstBytes(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + std::min(count, bytes.size()));
}

using HostileInputTest = DecoderTest;

TEST_F(HostileInputTest, TruncatedJpegShowsThePartThatDecodes) {
    Picture picture(256, 256, kBlue);
    picture.fill(0, 0, 256, 128, kRed);
    const Bytes whole = encodeJpeg(picture);
    const ImageHandle image = decodeBytes(firstBytes(whole, whole.size() * 3 / 5));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height(), 256);
    EXPECT_TRUE(near(pixelAt(*image, 100, 20), kRed, 40));
}

// Files without pixels, and sizes beyond the pixel limit or beyond what the file can hold.
TEST_F(HostileInputTest, FilesWithoutPixelsOrWithImpossibleSizesGiveNoImage) {
    const Picture picture = markedCorners();
    const Bytes jpeg = encodeJpeg(picture), png = encodePng(picture);
    std::vector<std::pair<std::string, Bytes>> files{
        {"empty.jpg", {}},
        {"notes.png", {'h', 'e', 'l', 'l', 'o', '\n'}},
        {"PNG without its end", firstBytes(png, png.size() - 20)}};
    // See data/README.md: JPEG headers without scan data, pixel bombs, frames of 60000 x 60000,
    // a HEIC stream coding more than it declares, a HEIC grid claiming 3.6 G pixels.
    for (const std::string name :
         {"headers-only.jpg", "headers-only-progressive.jpg", "bomb-10g-pixels.png",
          "bomb-256m-pixels.png", "huge-frame.jpg", "huge-frame-progressive.jpg",
          "declares-less.heic", "huge-grid.heic"}) {
        files.emplace_back(name, fixture(name));
    }
    for (const auto& [format, whole] : {std::pair{"JPEG", jpeg},
                                        {"PNG", png},
                                        {"WebP", encodeWebp(picture)},
                                        {"HEIC", fixture("plain.heic")}}) {
        files.emplace_back(std::string(format) + " cut after 40 bytes", firstBytes(whole, 40));
        files.emplace_back(std::string(format) + " cut after 4 bytes", firstBytes(whole, 4));
    }
    for (const auto& [name, bytes] : files) {
        EXPECT_FALSE(decodeBytes(bytes, {}, name)) << name;
    }
}

TEST_F(HostileInputTest, WhatIsNotAReadableFileGivesNoImage) {
    const PhotoDecoder decoder;
    std::filesystem::create_directory(folder_.path() / "trip.jpg");
    EXPECT_FALSE(decoder.decode(folder_.path() / "trip.jpg"));
    EXPECT_FALSE(decoder.decode(folder_.path() / "vanished.jpg"));
    // Opening a pipe for reading would wait for a writer forever.
    const auto pipe = folder_.path() / "pipe.jpg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(decoder.decode(pipe));
}

}  // namespace
}  // namespace vesko
