#include "TestImages.h"

#include <jpeglib.h>
#include <lcms2.h>
#include <libheif/heif.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
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
    // clang-format off
    Bytes bytes{'M', 'M', 0, 42, 0, 0, 0, 8,                  // big-endian TIFF, IFD at 8
                0, 1,                                         // one entry
                0x01, 0x12, 0, 3, 0, 0, 0, 1,                 // orientation, SHORT, count 1
                0, std::uint8_t(orientation), 0, 0, 0, 0, 0, 0};  // value; no next IFD
    // clang-format on
    if (!littleEndian) return bytes;
    bytes[0] = bytes[1] = 'I';
    // Every field above is 2 or 4 bytes from an even offset: reverse each in place.
    for (const auto& [at, size] :
         {std::pair{2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 2}, {14, 4}, {18, 2}, {22, 4}}) {
        std::reverse(bytes.begin() + at, bytes.begin() + at + size);
    }
    return bytes;
}

namespace {

Bytes saveProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

}  // namespace

Bytes displayP3Profile() {
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return saveProfile(profile);
}

Bytes srgbProfile() { return saveProfile(cmsCreate_sRGBProfile()); }

namespace {

// Lab of the light that ink c, m, y, k (0 to 65535) lets through, rotated as the profile says.
int labOfRotatedInk(const cmsUInt16Number in[], cmsUInt16Number out[], void* toLab) {
    const auto light = [&](int ink) { return (1 - in[ink] / 65535.0) * (1 - in[3] / 65535.0); };
    const double rgb[3] = {light(1), light(2), light(0)};
    cmsCIELab lab;
    cmsDoTransform(toLab, rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

}  // namespace

Bytes rotatedCmykProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_PERCEPTUAL, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.1);  // a bare grid is a v2 lut16
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr);
    cmsStageSampleCLut16bit(grid, labOfRotatedInk, toLab, 0);
    cmsPipelineInsertStage(pipeline, cmsAT_END, grid);
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return saveProfile(profile);
}

// ---- JPEG

namespace {

std::vector<std::uint8_t> jpegSamples(const Picture& picture, const JpegOptions& options) {
    std::vector<std::uint8_t> samples;
    for (const Rgba& p : picture.pixels) {
        if (options.greyscale) {
            samples.push_back(p.g);
        } else if (options.cmyk) {
            const int light = std::max({p.r, p.g, p.b});
            const auto ink = [light](int value) {
                return light == 0 ? 0 : 255 - value * 255 / light;
            };
            // Adobe stores 255 - ink.
            for (int value : {ink(p.r), ink(p.g), ink(p.b), 255 - light}) {
                samples.push_back(std::uint8_t(options.adobe ? 255 - value : value));
            }
        } else {
            samples.insert(samples.end(), {p.r, p.g, p.b});
        }
    }
    return samples;
}

}  // namespace

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
    info.input_components = options.greyscale ? 1 : options.cmyk ? 4 : 3;
    info.in_color_space = options.greyscale ? JCS_GRAYSCALE : options.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    info.write_Adobe_marker = options.cmyk && options.adobe;
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (options.orientation) {
        Bytes exif{'E', 'x', 'i', 'f', 0, 0};
        const Bytes tiff = exifWithOrientation(options.orientation, options.littleEndianExif);
        exif.insert(exif.end(), tiff.begin(), tiff.end());
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    if (!options.icc.empty()) {
        jpeg_write_icc_profile(&info, options.icc.data(), unsigned(options.icc.size()));
    }
    std::vector<std::uint8_t> samples = jpegSamples(picture, options);
    const std::size_t stride = std::size_t(picture.width) * info.input_components;
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

struct PngLayout {
    int colorType;
    int bitDepth;
    int channels;
};

PngLayout layoutFor(const PngOptions& options) {
    if (options.palette) return {PNG_COLOR_TYPE_PALETTE, 8, 1};
    const int depth = options.sixteenBit ? 16 : 8;
    if (options.greyscale) return {PNG_COLOR_TYPE_GRAY, depth, 1};
    return options.alpha ? PngLayout{PNG_COLOR_TYPE_RGBA, depth, 4}
                         : PngLayout{PNG_COLOR_TYPE_RGB, depth, 3};
}

void setPalette(png_structp png, png_infop info, const Picture& picture,
                std::vector<std::uint8_t>& indices, bool alpha) {
    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    std::vector<Rgba> seen;
    for (const Rgba& p : picture.pixels) {
        auto found = std::find(seen.begin(), seen.end(), p);
        if (found == seen.end()) {
            seen.push_back(p);
            colours.push_back({p.r, p.g, p.b});
            alphas.push_back(p.a);
            found = seen.end() - 1;
        }
        indices.push_back(std::uint8_t(found - seen.begin()));
    }
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
    if (alpha) png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
}

std::vector<std::uint8_t> pngSamples(const Picture& picture, const PngOptions& options) {
    std::vector<std::uint8_t> samples;
    const auto put = [&](std::uint8_t value) {
        samples.push_back(value);
        if (options.sixteenBit) samples.push_back(value);  // v * 257, big-endian
    };
    for (const Rgba& p : picture.pixels) {
        if (options.greyscale) {
            put(p.g);
        } else {
            put(p.r), put(p.g), put(p.b);
        }
        if (options.alpha) put(p.a);
    }
    return samples;
}

}  // namespace

Bytes encodePng(const Picture& picture, const PngOptions& options) {
    Bytes bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the test image");
    png_set_write_fn(png, &bytes, appendToBytes, nullptr);
    const PngLayout layout = layoutFor(options);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height),
                 layout.bitDepth, layout.colorType,
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<std::uint8_t> samples;
    if (options.palette) {
        setPalette(png, info, picture, samples, options.alpha);
    } else {
        samples = pngSamples(picture, options);
    }
    if (!options.icc.empty()) {
        png_set_iCCP(png, info, "test", 0, options.icc.data(), png_uint_32(options.icc.size()));
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

namespace {

void appendChunk(Bytes& out, const char* type, const Bytes& data) {
    const auto put32 = [&out](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
    };
    put32(std::uint32_t(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(std::uint32_t(crc32(0, out.data() + typeAt, uInt(out.size() - typeAt))));
}

}  // namespace

Bytes pngBomb(int width, int height) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    for (const int value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(std::uint8_t(value >> shift));
    }
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, not interlaced
    appendChunk(out, "IHDR", header);
    const Bytes zeros(1 << 20, 0);
    Bytes compressed(compressBound(uLong(zeros.size())));
    uLongf compressedSize = uLongf(compressed.size());
    compress2(compressed.data(), &compressedSize, zeros.data(), uLong(zeros.size()), 9);
    compressed.resize(compressedSize);
    appendChunk(out, "IDAT", compressed);
    appendChunk(out, "IEND", {});
    return out;
}

// ---- WebP

namespace {

std::vector<std::uint8_t> rgbaBytes(const Picture& picture) {
    std::vector<std::uint8_t> bytes;
    for (const Rgba& p : picture.pixels) bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
    return bytes;
}

Bytes assembledBy(WebPMux* mux) {
    WebPData assembled{};
    WebPMuxAssemble(mux, &assembled);
    Bytes out(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    return out;
}

Bytes withMetadata(const Bytes& bitstream, const WebpOptions& options) {
    WebPMux* mux = WebPMuxNew();
    const WebPData image{bitstream.data(), bitstream.size()};
    WebPMuxSetImage(mux, &image, 1);
    const Bytes exif = options.orientation
                           ? exifWithOrientation(options.orientation, options.littleEndianExif)
                           : Bytes{};
    const WebPData exifData{exif.data(), exif.size()};
    if (!exif.empty()) WebPMuxSetChunk(mux, "EXIF", &exifData, 1);
    const WebPData iccData{options.icc.data(), options.icc.size()};
    if (!options.icc.empty()) WebPMuxSetChunk(mux, "ICCP", &iccData, 1);
    Bytes out = assembledBy(mux);
    WebPMuxDelete(mux);
    return out;
}

}  // namespace

Bytes encodeWebp(const Picture& picture, const WebpOptions& options) {
    const std::vector<std::uint8_t> rgba = rgbaBytes(picture);
    std::uint8_t* out = nullptr;
    const std::size_t size = options.lossless
                                 ? WebPEncodeLosslessRGBA(rgba.data(), picture.width,
                                                          picture.height, picture.width * 4, &out)
                                 : WebPEncodeRGBA(rgba.data(), picture.width, picture.height,
                                                  picture.width * 4, float(options.quality), &out);
    Bytes bitstream(out, out + size);
    WebPFree(out);
    if (options.orientation == 0 && options.icc.empty()) return bitstream;
    return withMetadata(bitstream, options);
}

Bytes encodeWebpAnimation(const std::vector<WebpFrame>& frames, int canvasWidth, int canvasHeight) {
    WebPMux* mux = WebPMuxNew();
    for (const WebpFrame& frame : frames) {
        const Bytes still = encodeWebp(frame.picture, {.lossless = true});
        WebPMuxFrameInfo info{};
        info.bitstream = {still.data(), still.size()};
        info.x_offset = frame.x;
        info.y_offset = frame.y;
        info.duration = 100;
        info.id = WEBP_CHUNK_ANMF;
        info.dispose_method = WEBP_MUX_DISPOSE_NONE;
        info.blend_method = WEBP_MUX_NO_BLEND;
        WebPMuxPushFrame(mux, &info, 1);
    }
    const WebPMuxAnimParams params{0, 0};
    WebPMuxSetAnimationParams(mux, &params);
    WebPMuxSetCanvasSize(mux, canvasWidth, canvasHeight);
    Bytes out = assembledBy(mux);
    WebPMuxDelete(mux);
    return out;
}

// ---- HEIC

namespace {

void check(heif_error error) {
    if (error.code != heif_error_Ok) throw std::runtime_error(error.message);
}

heif_error appendHeif(heif_context*, const void* data, size_t size, void* userdata) {
    auto* bytes = static_cast<Bytes*>(userdata);
    const auto* from = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// Grey from the picture's red channel.
heif_image* heifGreyPicture(const Picture& picture) {
    heif_image* image = nullptr;
    check(heif_image_create(picture.width, picture.height, heif_colorspace_monochrome,
                            heif_chroma_monochrome, &image));
    check(heif_image_add_plane(image, heif_channel_Y, picture.width, picture.height, 8));
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_Y, &stride);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            plane[std::size_t(y) * stride + x] = picture.at(x, y).r;
        }
    }
    return image;
}

heif_image* heifPicture(const Picture& picture, const HeicOptions& options) {
    if (options.grey) return heifGreyPicture(picture);
    const heif_chroma chroma = options.tenBit ? (options.alpha ? heif_chroma_interleaved_RRGGBBAA_LE
                                                               : heif_chroma_interleaved_RRGGBB_LE)
                                              : (options.alpha ? heif_chroma_interleaved_RGBA
                                                               : heif_chroma_interleaved_RGB);
    heif_image* image = nullptr;
    check(heif_image_create(picture.width, picture.height, heif_colorspace_RGB, chroma, &image));
    check(heif_image_add_plane(image, heif_channel_interleaved, picture.width, picture.height,
                               options.tenBit ? 10 : 8));
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* out = plane + std::size_t(y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            const Rgba p = picture.at(x, y);
            const std::uint8_t channels[4] = {p.r, p.g, p.b, p.a};
            for (int c = 0; c < (options.alpha ? 4 : 3); ++c) {
                const std::uint8_t value = channels[c];
                if (options.tenBit) {
                    const unsigned wide = value * 1023u / 255u;
                    *out++ = std::uint8_t(wide & 0xFF);
                    *out++ = std::uint8_t(wide >> 8);
                } else {
                    *out++ = value;
                }
            }
        }
    }
    return image;
}

void describeColour(heif_image* image, const HeicOptions& options) {
    if (!options.icc.empty()) {
        check(heif_image_set_raw_color_profile(image, "prof", options.icc.data(),
                                               options.icc.size()));
    }
    if (options.nclxPrimaries) {
        heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
        nclx->color_primaries = heif_color_primaries(options.nclxPrimaries);
        nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
        nclx->matrix_coefficients = heif_matrix_coefficients(options.nclxMatrix);
        nclx->full_range_flag = options.fullRange;
        check(heif_image_set_nclx_color_profile(image, nclx));
        heif_nclx_color_profile_free(nclx);
    }
}

}  // namespace

Bytes encodeHeic(const Picture& picture, const HeicOptions& options) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    check(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder));
    check(heif_encoder_set_lossy_quality(encoder, options.quality));
    check(heif_encoder_set_parameter(encoder, "chroma", options.chroma420 ? "420" : "444"));
    heif_image* image = heifPicture(picture, options);
    describeColour(image, options);
    heif_encoding_options* encoding = heif_encoding_options_alloc();
    encoding->image_orientation = heif_orientation(options.rotation);
    // Left alone, libheif 1.15 leaves the colour description out for old macOS readers.
    encoding->macOS_compatibility_workaround_no_nclx_profile = options.nclxPrimaries == 0;
    heif_image_handle* handle = nullptr;
    check(heif_context_encode_image(context, image, encoder, encoding, &handle));
    if (options.exifOrientation) {
        const Bytes exif = exifWithOrientation(options.exifOrientation);
        check(heif_context_add_exif_metadata(context, handle, exif.data(), int(exif.size())));
    }
    Bytes bytes;
    heif_writer writer{1, appendHeif};
    check(heif_context_write(context, &writer, &bytes));
    heif_image_handle_release(handle);
    heif_encoding_options_free(encoding);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace vesko::testimages
