#include <sys/stat.h>

#include <string_view>

#include "DecoderTestSupport.h"

namespace vesko {
namespace {

using namespace testimages;

Bytes firstBytes(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + std::min(count, bytes.size()));
}

// The file with `replacement` written `offset` bytes after the first occurrence of `marker`.
Bytes patched(Bytes file, std::string_view marker, std::size_t offset, const Bytes& replacement) {
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    const std::size_t at = text.find(marker);
    EXPECT_NE(at, std::string_view::npos) << "no " << marker;
    if (at == std::string_view::npos) return {};
    std::copy(replacement.begin(), replacement.end(), file.begin() + std::ptrdiff_t(at + offset));
    return file;
}

// The JPEG up to and including its first scan header, without any of the scan's data.
Bytes jpegHeadersOnly(const Bytes& jpeg) {
    const std::string_view text(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    const std::size_t scan = text.find("\xFF\xDA");
    return firstBytes(jpeg, scan + 2 + std::size_t(jpeg[scan + 2] << 8 | jpeg[scan + 3]));
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
    const Bytes jpeg = encodeJpeg(picture), progressive = fixture("progressive.jpg");
    const Bytes png = encodePng(picture);
    // The JPEG frame header's height and width (SOF0 or SOF2), as 60000 x 60000.
    const Bytes huge{0xEA, 0x60, 0xEA, 0x60};
    std::vector<std::pair<std::string, Bytes>> files{
        {"empty.jpg", {}},
        {"notes.png", {'h', 'e', 'l', 'l', 'o', '\n'}},
        {"PNG without its end", firstBytes(png, png.size() - 20)},
        {"JPEG headers only", jpegHeadersOnly(jpeg)},
        {"progressive JPEG headers only", jpegHeadersOnly(progressive)},
        {"PNG of 10 G pixels", fixture("bomb-10g-pixels.png")},
        {"PNG of 256 M pixels in 1 kB", fixture("bomb-256m-pixels.png")},
        {"JPEG of 3.6 G pixels", patched(jpeg, "\xFF\xC0", 5, huge)},
        {"progressive JPEG of 3.6 G pixels", patched(progressive, "\xFF\xC2", 5, huge)},
        // Its ispe box declares 64 x 32 while its HEVC stream codes 512 x 256.
        {"HEIC coding more than it declares", fixture("declares-less.heic")},
        // The grid's description opens mdat: version, flags, rows - 1, columns - 1, width,
        // height. It claims three planes of 3.6 GB while its ispe and tiles say 320 x 160.
        {"HEIC grid claiming 3.6 G pixels", patched(fixture("grid.heic"), "mdat", 8, huge)}};
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
