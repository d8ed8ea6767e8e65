#include "SampleFormats.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "RawImages.h"
#include "bench/decode/PngCopies.h"

namespace vesko::bench {
namespace {

struct JpegOptions {
    JDIMENSION width;
    JDIMENSION height;
    int quality;
    bool progressive;
};

// The photo stretched to the options' size (nearest sample) and written as a JPEG.
void writeJpeg(const RgbImage& photo, JpegOptions options, const std::filesystem::path& file) {
    const JDIMENSION width = options.width, height = options.height;
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return;
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    while (info.next_scanline < height) {
        const std::size_t y = std::size_t(info.next_scanline) * photo.height / height;
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t from = (y * photo.width + x * photo.width / width) * 3;
            std::copy_n(photo.pixels.begin() + std::ptrdiff_t(from), 3,
                        row.begin() + std::ptrdiff_t(x * 3));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

// Each JPEG written once more into `folder` as `options` say.
std::filesystem::path jpegCopies(const std::filesystem::path& jpegs, JpegOptions options,
                                 const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const auto& jpeg : photosIn(jpegs)) {
        const auto copy = folder / jpeg.filename();
        if (!std::filesystem::exists(copy)) {
            const auto partial = std::filesystem::path(copy).replace_extension(".partial");
            writeJpeg(decodeJpeg(jpeg), options, partial);
            std::filesystem::rename(partial, copy);
        }
    }
    return folder;
}

// Each JPEG as a DNG's full-size preview, its pixels as the raw data: a RAW shot whose preview
// is the very JPEG.
std::filesystem::path rawCopies(const std::filesystem::path& jpegs,
                                const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const auto& jpeg : photosIn(jpegs)) {
        const auto copy = (folder / jpeg.filename()).replace_extension(".dng");
        if (std::filesystem::exists(copy)) continue;
        const RgbImage photo = decodeJpeg(jpeg);
        testimages::Picture sensor(int(photo.width), int(photo.height));
        for (std::size_t i = 0; i < sensor.pixels.size(); ++i) {
            sensor.pixels[i] = {photo.pixels[i * 3], photo.pixels[i * 3 + 1],
                                photo.pixels[i * 3 + 2], 255};
        }
        std::ifstream in(jpeg, std::ios::binary);
        const testimages::Bytes preview{std::istreambuf_iterator<char>(in), {}};
        const auto partial = std::filesystem::path(copy).replace_extension(".partial");
        testimages::writeFile(partial.string(), testimages::makeDng(sensor, {.preview = preview}));
        std::filesystem::rename(partial, copy);
    }
    return folder;
}

}  // namespace

std::vector<SampleFormat> sampleFormats(const std::filesystem::path& photos,
                                        const std::filesystem::path& scratch) {
    pngCopiesOf(photosIn(photos / "jpeg"), scratch / "png");
    return {
        {"JPEG", photos / "jpeg"},
        {"PNG", scratch / "png"},
        {"HEIC", photos / "heic"},
        {"WebP", photos / "webp"},
        {"progressive JPEG 5640x3172",
         jpegCopies(photos / "jpeg", {5640, 3172, 92, true}, scratch / "progressive")},
        {"RAW (DNG, the JPEG as its preview)", rawCopies(photos / "jpeg", scratch / "raw")},
    };
}

std::vector<std::filesystem::path> photosIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> photos;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        photos.push_back(entry.path());
    }
    std::sort(photos.begin(), photos.end());
    return photos;
}

SampleFormat largeJpegs(const std::filesystem::path& photos, const std::filesystem::path& scratch) {
    return {"JPEG 6000x4000 (24 MP), quality 95",
            jpegCopies(photos / "jpeg", {6000, 4000, 95, false}, scratch / "jpeg-24mp")};
}

}  // namespace vesko::bench
