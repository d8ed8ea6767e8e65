#include "TestImages.h"

#include <jpeglib.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vesko::testimages {

std::ostream& operator<<(std::ostream& out, Rgba pixel) {
    return out << "rgba(" << int(pixel.r) << ", " << int(pixel.g) << ", " << int(pixel.b) << ", "
               << int(pixel.a) << ")";
}

void Picture::fill(int x0, int y0, int w, int h, Rgba colour) {
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) at(x, y) = colour;
    }
}

Picture markedCorners(int width) {
    Picture picture(width, width / 2, kGrey);
    picture.fill(0, 0, width / 4, width / 4, kRed);
    picture.fill(width * 3 / 4, 0, width / 4, width / 4, kGreen);
    return picture;
}

Picture withAlpha() {
    Picture picture(64, 32, {255, 255, 255, 0});
    picture.fill(32, 0, 32, 32, {0, 0, 200, 128});
    picture.fill(0, 0, 16, 16, kRed);
    picture.fill(48, 16, 16, 16, kGreen);
    return picture;
}

Picture greyed(Picture picture) {
    for (Rgba& p : picture.pixels) p = {p.g, p.g, p.g, p.a};
    return picture;
}

Picture texture(int width, int height) {
    Picture picture(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27);
            const bool square = (x / 16 + y / 16) % 2 == 0;
            picture.at(x, y) = {std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                                std::uint8_t((square ? 200 : 40) + noise), 255};
        }
    }
    return picture;
}

Picture storedFor(const Picture& upright, int orientation) {
    // 5 to 8 swap the axes; then 2, 3, 6 and 7 mirror across, 3, 4, 7 and 8 mirror down.
    const bool swaps = orientation >= 5;
    const bool mirrorsX =
        orientation == 2 || orientation == 3 || orientation == 6 || orientation == 7;
    const bool mirrorsY =
        orientation == 3 || orientation == 4 || orientation == 7 || orientation == 8;
    Picture stored(swaps ? upright.height : upright.width, swaps ? upright.width : upright.height);
    for (int sy = 0; sy < stored.height; ++sy) {
        for (int sx = 0; sx < stored.width; ++sx) {
            // Where the stored pixel (sx, sy) appears once the orientation is applied.
            int dx = swaps ? sy : sx, dy = swaps ? sx : sy;
            if (mirrorsX) dx = upright.width - 1 - dx;
            if (mirrorsY) dy = upright.height - 1 - dy;
            stored.at(sx, sy) = upright.at(dx, dy);
        }
    }
    return stored;
}

Bytes exifWithOrientation(int orientation, bool littleEndian) {
    const auto value = std::uint8_t(orientation);
    // A TIFF header with its IFD at 8; one entry: orientation (0x0112), SHORT, count 1, the
    // value; no next IFD.
    // clang-format off
    if (littleEndian) {
        return {'I', 'I', 42, 0, 8, 0, 0, 0,   1, 0,
                0x12, 0x01, 3, 0, 1, 0, 0, 0,   value, 0, 0, 0,   0, 0, 0, 0};
    }
    return {'M', 'M', 0, 42, 0, 0, 0, 8,   0, 1,
            0x01, 0x12, 0, 3, 0, 0, 0, 1,   0, value, 0, 0,   0, 0, 0, 0};
    // clang-format on
}

// ---- JPEG

Bytes encodeJpeg(const Picture& picture, const JpegOptions& options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (options.orientation || !options.exif.empty()) {
        Bytes exif{'E', 'x', 'i', 'f', 0, 0};
        const Bytes tiff = options.exif.empty()
                               ? exifWithOrientation(options.orientation, options.littleEndianExif)
                               : options.exif;
        exif.insert(exif.end(), tiff.begin(), tiff.end());
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    std::vector<std::uint8_t> samples;
    for (const Rgba& p : picture.pixels) samples.insert(samples.end(), {p.r, p.g, p.b});
    const std::size_t stride = std::size_t(picture.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = samples.data() + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(out, out + outSize);
    std::free(out);
    return bytes;
}

// ---- PNG

namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<Bytes*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

}  // namespace

Bytes encodePng(const Picture& picture, const PngOptions& options) {
    Bytes bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the test image");
    png_set_write_fn(png, &bytes, appendToBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), 8,
                 options.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<std::uint8_t> samples;
    for (const Rgba& p : picture.pixels) {
        samples.insert(samples.end(), {p.r, p.g, p.b});
        if (options.alpha) samples.push_back(p.a);
    }
    Bytes exif;
    if (options.orientation) {
        exif = exifWithOrientation(options.orientation);
        png_set_eXIf_1(png, info, png_uint_32(exif.size()), exif.data());
    }
    png_write_info(png, info);
    const std::size_t stride = samples.size() / picture.height;
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height; ++y) rows.push_back(samples.data() + y * stride);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// ---- WebP

namespace {

Bytes withExif(const Bytes& bitstream, const WebpOptions& options) {
    WebPMux* mux = WebPMuxNew();
    const WebPData image{bitstream.data(), bitstream.size()};
    WebPMuxSetImage(mux, &image, 1);
    const Bytes exif = exifWithOrientation(options.orientation, options.littleEndianExif);
    const WebPData exifData{exif.data(), exif.size()};
    WebPMuxSetChunk(mux, "EXIF", &exifData, 1);
    WebPData assembled{};
    WebPMuxAssemble(mux, &assembled);
    Bytes out(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return out;
}

}  // namespace

Bytes encodeWebp(const Picture& picture, const WebpOptions& options) {
    std::vector<std::uint8_t> rgba;
    for (const Rgba& p : picture.pixels) rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
    std::uint8_t* out = nullptr;
    const std::size_t size = options.lossless
                                 ? WebPEncodeLosslessRGBA(rgba.data(), picture.width,
                                                          picture.height, picture.width * 4, &out)
                                 : WebPEncodeRGBA(rgba.data(), picture.width, picture.height,
                                                  picture.width * 4, 95, &out);
    Bytes bitstream(out, out + size);
    WebPFree(out);
    return options.orientation ? withExif(bitstream, options) : bitstream;
}

Bytes fixture(const std::string& name) {
    std::ifstream in(std::string(VESKO_DECODER_TEST_DATA) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace vesko::testimages
