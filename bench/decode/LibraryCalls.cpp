#include "LibraryCalls.h"

#include <cstdio>
#include <fstream>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "platform/decoder/Geometry.h"

namespace vesko::bench {

using Path = std::filesystem::path;

std::vector<unsigned char> readAll(const Path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<unsigned char> bytes(std::filesystem::file_size(file));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

unsigned long libjpegScaled(const Path& file, DisplayBound bound,
                            std::initializer_list<unsigned> eighths) {
    const std::vector<unsigned char> bytes = readAll(file);
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    const decoder::Size fit =
        decoder::fitWithin({int(info.image_width), int(info.image_height)}, bound);
    info.scale_denom = 8;
    info.scale_num = 8;
    for (const unsigned scale : eighths) {
        info.scale_num = scale;
        jpeg_calc_output_dimensions(&info);
        if (int(info.output_width) >= fit.width && int(info.output_height) >= fit.height) break;
        info.scale_num = 8;
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    std::vector<unsigned char> pixels(std::size_t(info.output_width) * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * info.output_width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels.size() + pixels[pixels.size() / 2];
}

}  // namespace vesko::bench
