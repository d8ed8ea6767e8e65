#include "LibraryCalls.h"

#include <cstdio>
#include <fstream>
#include <memory>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "platform/decoder/Geometry.h"

namespace vesko::bench {

using Path = std::filesystem::path;

namespace {

// The pixels of one decode, in the kind of buffer asked for.
class Output {
public:
    Output(OutputBuffer kind, std::size_t size) {
        switch (kind) {
            case OutputBuffer::FreshZeroed:
                zeroed_.resize(size);
                data_ = zeroed_.data();
                break;
            case OutputBuffer::FreshUninitialised:
                uninitialised_.reset(new unsigned char[size]);
                data_ = uninitialised_.get();
                break;
            case OutputBuffer::Reused:
                thread_local std::vector<unsigned char> kept;
                if (kept.size() < size) kept.resize(size);
                data_ = kept.data();
                break;
        }
    }

    unsigned char* data() const { return data_; }

private:
    std::vector<unsigned char> zeroed_;
    std::unique_ptr<unsigned char[]> uninitialised_;
    unsigned char* data_ = nullptr;
};

}  // namespace

std::vector<unsigned char> readAll(const Path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<unsigned char> bytes(std::filesystem::file_size(file));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

unsigned long libjpegScaled(const Path& file, DisplayBound bound,
                            std::initializer_list<unsigned> eighths, OutputBuffer output) {
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
    const std::size_t size = std::size_t(info.output_width) * info.output_height * 4;
    const Output pixels(output, size);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * info.output_width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return size + pixels.data()[size / 2];
}

}  // namespace vesko::bench
