#include "Baselines.h"

#include <libheif/heif.h>
#include <png.h>
#include <webp/decode.h>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdio>
#include <fstream>
#include <vector>

#include <algorithm>
#include <cmath>

#include "LibraryCalls.h"
#include "platform/decoder/HevcFfmpegPlugin.h"

namespace vesko::bench {
namespace {

struct Fit {
    int width;
    int height;
};

Fit fitOf(int width, int height, DisplayBound bound) {
    const double scale =
        std::min({1.0, double(bound.width) / width, double(bound.height) / height});
    return {std::max(1, int(std::lround(width * scale))),
            std::max(1, int(std::lround(height * scale)))};
}

unsigned long checksum(const unsigned char* pixels, std::size_t size) {
    unsigned long sum = 0;
    for (std::size_t i = 0; i < size; i += 4099) sum += pixels[i];
    return sum + size;
}

}  // namespace

unsigned long rawJpegScaled(const Path& file, DisplayBound bound) {
    return libjpegScaled(file, bound, {1, 2, 3, 4, 5, 6, 7});
}

unsigned long rawWebpScaled(const Path& file, DisplayBound bound) {
    const std::vector<unsigned char> bytes = readAll(file);
    WebPDecoderConfig config;
    WebPInitDecoderConfig(&config);
    WebPGetFeatures(bytes.data(), bytes.size(), &config.input);
    const Fit fit = fitOf(config.input.width, config.input.height, bound);
    config.options.use_scaling = 1;
    config.options.scaled_width = fit.width;
    config.options.scaled_height = fit.height;
    config.output.colorspace = MODE_RGBA;
    if (WebPDecode(bytes.data(), bytes.size(), &config) != VP8_STATUS_OK) return 0;
    const unsigned long sum = checksum(config.output.u.RGBA.rgba, config.output.u.RGBA.size);
    WebPFreeDecBuffer(&config.output);
    return sum;
}

struct PngReadState {
    const std::vector<unsigned char>* bytes;
    std::size_t at;
};

void readPngBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (length > state->bytes->size() - state->at) png_error(png, "truncated");
    std::copy_n(state->bytes->data() + state->at, length, out);
    state->at += length;
}

unsigned long rawPngFull(const Path& file, DisplayBound) {
    const std::vector<unsigned char> bytes = readAll(file);
    PngReadState state{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> pixels;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    png_set_read_fn(png, &state, readPngBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t stride = png_get_rowbytes(png, info);
    pixels.resize(stride * png_get_image_height(png, info));
    for (std::size_t y = 0; y < png_get_image_height(png, info); ++y) {
        rows.push_back(pixels.data() + y * stride);
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return checksum(pixels.data(), pixels.size());
}

unsigned long rawHeicFull(const Path& file, DisplayBound) {
    // libheif as every viewer runs it, even once Vesko's decoder has registered FFmpeg's.
    const decoder::Libde265Only libheifDefault;
    return libheifFull(file, heif_chroma_interleaved_RGBA);
}

unsigned long qtFullThenScale(const Path& file, DisplayBound bound) {
    QImageReader reader(QString::fromStdString(file.string()));
    const QImage full = reader.read();
    if (full.isNull()) return 0;
    const QImage scaled =
        full.scaled(bound.width, bound.height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return checksum(scaled.constBits(), std::size_t(scaled.sizeInBytes()));
}

unsigned long qtScaledRead(const Path& file, DisplayBound bound) {
    QImageReader reader(QString::fromStdString(file.string()));
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        const Fit fit = fitOf(size.width(), size.height(), bound);
        reader.setScaledSize(QSize(fit.width, fit.height));
    }
    const QImage image = reader.read();
    if (image.isNull()) return 0;
    return checksum(image.constBits(), std::size_t(image.sizeInBytes()));
}

}  // namespace vesko::bench
