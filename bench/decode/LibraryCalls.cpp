#include "LibraryCalls.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "platform/decoder/Geometry.h"
#include "platform/decoder/PhotoDecoder.h"

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

unsigned long libheifFull(const Path& file, heif_chroma interleaved) {
    const std::vector<unsigned char> bytes = readAll(file);
    heif_context* context = heif_context_alloc();
    heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr);
    heif_image_handle* handle = nullptr;
    heif_context_get_primary_image_handle(context, &handle);
    heif_image* image = nullptr;
    unsigned long sum = 0;
    if (handle &&
        heif_decode_image(handle, &image, heif_colorspace_RGB, interleaved, nullptr).code ==
            heif_error_Ok) {
        int stride = 0;
        const uint8_t* plane =
            heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
        sum = std::size_t(stride) * heif_image_get_height(image, heif_channel_interleaved) +
              plane[stride];
        heif_image_release(image);
    }
    heif_image_handle_release(handle);
    heif_context_free(context);
    return sum;
}

unsigned long viaVesko(const Path& file, DisplayBound bound) {
    const ImageHandle image = PhotoDecoder(bound).decode(file);
    return image ? image->byteCount() + image->bits()[image->byteCount() / 2] : 0;
}

std::vector<Path> photosIn(const Path& folder) {
    std::vector<Path> photos;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        photos.push_back(entry.path());
    }
    std::sort(photos.begin(), photos.end());
    return photos;
}

}  // namespace vesko::bench
