#include "PngCopies.h"

#include <cstdio>
#include <fstream>
#include <iterator>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

namespace vesko::bench {

RgbImage decodeJpeg(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    RgbImage image{info.output_width, info.output_height, {}};
    image.pixels.resize(std::size_t(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + std::size_t(info.output_scanline) * image.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

namespace {

void writePng(const RgbImage& image, const std::filesystem::path& file) {
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (unsigned y = 0; y < image.height; ++y) {
        png_write_row(png, image.pixels.data() + std::size_t(y) * image.width * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

}  // namespace

std::vector<std::filesystem::path> pngCopiesOf(const std::vector<std::filesystem::path>& jpegs,
                                               const std::filesystem::path& outFolder) {
    std::filesystem::create_directories(outFolder);
    std::vector<std::filesystem::path> copies;
    for (const auto& jpeg : jpegs) {
        const auto copy = outFolder / jpeg.filename().replace_extension(".png");
        if (!std::filesystem::exists(copy)) {
            const auto partial = std::filesystem::path(copy).replace_extension(".partial");
            writePng(decodeJpeg(jpeg), partial);
            std::filesystem::rename(partial, copy);
        }
        copies.push_back(copy);
    }
    return copies;
}

}  // namespace vesko::bench
