#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Small JPEG, PNG and WebP images made with the libraries' own encoders, for the decoder's tests;
// HEIC files, and inputs that would need much more code to make, are kept in data/ (see its
// README).
namespace vesko::testimages {

using Bytes = std::vector<std::uint8_t>;

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(Rgba, Rgba) = default;
};
std::ostream& operator<<(std::ostream& out, Rgba pixel);

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Picture(int w, int h, Rgba fill = {}) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgba& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Rgba at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    void fill(int x0, int y0, int w, int h, Rgba colour);
};

inline constexpr Rgba kRed{220, 30, 30, 255};
inline constexpr Rgba kGreen{30, 200, 40, 255};
inline constexpr Rgba kBlue{30, 40, 210, 255};
inline constexpr Rgba kGrey{128, 128, 128, 255};

// `width` x `width` / 2, grey, with a red block in the top-left corner and a green one in the
// top-right, each a quarter of the width: enough to tell all eight orientations apart.
Picture markedCorners(int width = 64);
// 64 x 32: opaque red and green on a transparent left half; the right half holds a
// half-transparent blue band.
Picture withAlpha();
// Every pixel as grey of its green value, as the grey encoders here store it.
Picture greyed(Picture picture);

// Gradients, hard edges and noise: every part of the HEVC toolset gets used, and every pixel
// differs from its neighbours.
Picture texture(int width, int height);

// The stored pixels of `upright` that EXIF orientation `orientation` turns into `upright`.
Picture storedFor(const Picture& upright, int orientation);

// A TIFF block with one orientation tag, as EXIF stores it (without the JPEG "Exif" prefix),
// big-endian ("MM") or, as many cameras write it, little-endian ("II").
Bytes exifWithOrientation(int orientation, bool littleEndian = false);

// At quality 95; with an EXIF orientation unless it is 0, or with the TIFF block `exif`.
struct JpegOptions {
    int orientation = 0;
    bool littleEndianExif = false;
    Bytes exif = {};
};
Bytes encodeJpeg(const Picture& picture, const JpegOptions& options = {});

struct PngOptions {
    bool alpha = false;
    bool interlaced = false;
    int orientation = 0;
};
Bytes encodePng(const Picture& picture, const PngOptions& options = {});

struct WebpOptions {
    bool lossless = false;  // else at quality 95
    int orientation = 0;
    bool littleEndianExif = false;
};
Bytes encodeWebp(const Picture& picture, const WebpOptions& options = {});

// A file from data/.
Bytes fixture(const std::string& name);
void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace vesko::testimages
