#include <sys/stat.h>

#include <string_view>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using namespace testimages;

// The JPEG's frame header (SOF0 or SOF2) with its height and width replaced.
Bytes withJpegSize(Bytes jpeg, int width, int height) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = std::uint8_t(height >> 8), jpeg[i + 6] = std::uint8_t(height);
            jpeg[i + 7] = std::uint8_t(width >> 8), jpeg[i + 8] = std::uint8_t(width);
            break;
        }
    }
    return jpeg;
}

Bytes firstBytes(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + std::min(count, bytes.size()));
}

// The JPEG up to and including its first scan header, without any of the scan's data.
Bytes jpegHeadersOnly(const Bytes& jpeg) {
    for (std::size_t i = 0; i + 3 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
            return firstBytes(jpeg, i + 2 + std::size_t(jpeg[i + 2] << 8 | jpeg[i + 3]));
        }
    }
    return jpeg;
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

TEST_F(HostileInputTest, FilesWithoutPixelsGiveNoImage) {
    const Picture picture = markedCorners();
    const Bytes text{'h', 'e', 'l', 'l', 'o', '\n'};
    EXPECT_FALSE(decodeBytes({}, {}, "empty.jpg"));
    EXPECT_FALSE(decodeBytes(text, {}, "notes.png"));
    for (const Bytes& whole :
         {encodeJpeg(picture), encodePng(picture), encodeWebp(picture), encodeHeic(picture)}) {
        EXPECT_FALSE(decodeBytes(firstBytes(whole, 40)));
        EXPECT_FALSE(decodeBytes(firstBytes(whole, 4)));
    }
    EXPECT_FALSE(decodeBytes(firstBytes(encodePng(picture), encodePng(picture).size() - 20)));
    EXPECT_FALSE(decodeBytes(jpegHeadersOnly(encodeJpeg(picture))));
    EXPECT_FALSE(decodeBytes(jpegHeadersOnly(encodeJpeg(picture, {.progressive = true}))));
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

TEST_F(HostileInputTest, DeclaredSizesBeyondThePixelLimitAreRefused) {
    EXPECT_FALSE(decodeBytes(fixture("bomb-10g-pixels.png")));
    // Within the pixel limit, but far more pixels than a file of this size can hold.
    EXPECT_FALSE(decodeBytes(fixture("bomb-256m-pixels.png")));
    EXPECT_FALSE(decodeBytes(withJpegSize(encodeJpeg(markedCorners()), 60'000, 60'000)));
    EXPECT_FALSE(decodeBytes(
        withJpegSize(encodeJpeg(markedCorners(), {.progressive = true}), 60'000, 60'000)));
}

// The HEIC declares 64 x 32 in its ispe box while its HEVC stream codes 512 x 256.
TEST_F(HostileInputTest, HeicWhoseStreamCodesMoreThanItDeclaresIsRefused) {
    Bytes file = encodeHeic(Picture(512, 256, kGrey));
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    const std::size_t ispe = text.find("ispe");
    ASSERT_NE(ispe, std::string_view::npos);
    const std::uint8_t declared[8] = {0, 0, 0, 64, 0, 0, 0, 32};
    std::copy_n(declared, 8, file.begin() + std::ptrdiff_t(ispe + 8));
    EXPECT_FALSE(decodeBytes(file));
}

// A grid whose description claims 60000 x 60000 pixels (three planes of 3.6 GB) while its ispe
// and tiles say 320 x 160; a legitimate grid's size is not affected.
TEST_F(HostileInputTest, HeicGridClaimingMoreThanItsImageIsRefused) {
    Bytes file = fixture("grid.heic");
    EXPECT_TRUE(decodeBytes(file));
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    const std::size_t mdat = text.find("mdat");
    ASSERT_NE(mdat, std::string_view::npos);
    // The grid's description opens mdat: version, flags, rows - 1, columns - 1, width, height.
    const std::uint8_t claimed[4] = {0xEA, 0x60, 0xEA, 0x60};
    std::copy_n(claimed, 4, file.begin() + std::ptrdiff_t(mdat + 8));
    EXPECT_FALSE(decodeBytes(file));
}

}  // namespace
}  // namespace vesko
