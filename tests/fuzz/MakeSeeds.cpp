// Writes small valid images of every kind the decoder handles, one folder per format, as the
// starting corpus of the fuzz targets:  vesko_fuzz_seeds <folder>

#include <filesystem>
#include <iostream>
#include <string>

#include "TestImages.h"

using namespace vesko::testimages;

namespace {

void write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    writeFile(folder / name, bytes);
}

Picture translucent() {
    Picture picture = markedCorners();
    picture.fill(0, 16, 32, 16, {0, 0, 200, 100});
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vesko_fuzz_seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const Picture picture = markedCorners();
    const Bytes p3 = displayP3Profile();

    write(out / "jpeg", "baseline.jpg", encodeJpeg(picture, {.quality = 80}));
    write(out / "jpeg", "progressive.jpg", encodeJpeg(picture, {.progressive = true}));
    write(out / "jpeg", "grey.jpg", encodeJpeg(picture, {.greyscale = true}));
    write(out / "jpeg", "cmyk.jpg", encodeJpeg(picture, {.cmyk = true}));
    write(out / "jpeg", "turned-p3.jpg", encodeJpeg(picture, {.orientation = 6, .icc = p3}));

    write(out / "png", "rgb.png", encodePng(picture));
    write(out / "png", "rgba16.png", encodePng(translucent(), {.alpha = true, .sixteenBit = true}));
    write(out / "png", "palette.png", encodePng(translucent(), {.alpha = true, .palette = true}));
    write(out / "png", "grey.png", encodePng(picture, {.greyscale = true}));
    write(out / "png", "interlaced.png", encodePng(picture, {.interlaced = true}));
    write(out / "png", "turned-p3.png", encodePng(picture, {.orientation = 8, .icc = p3}));

    write(out / "webp", "lossy.webp", encodeWebp(picture, {.quality = 70}));
    write(out / "webp", "lossless.webp", encodeWebp(translucent(), {.lossless = true}));
    write(out / "webp", "turned-p3.webp", encodeWebp(picture, {.orientation = 3, .icc = p3}));
    write(out / "webp", "animated.webp", encodeWebpAnimation({{picture}, {translucent()}}, 64, 32));

    write(out / "heic", "plain.heic", encodeHeic(picture));
    write(out / "heic", "alpha.heic", encodeHeic(translucent(), {.alpha = true}));
    write(out / "heic", "ten-bit.heic", encodeHeic(picture, {.tenBit = true}));
    write(out / "heic", "turned.heic", encodeHeic(picture, {.rotation = 6, .exifOrientation = 6}));
    write(out / "heic", "p3.heic", encodeHeic(picture, {.icc = p3}));
    write(out / "heic", "nclx.heic", encodeHeic(picture, {.nclxPrimaries = 12}));
    return 0;
}
