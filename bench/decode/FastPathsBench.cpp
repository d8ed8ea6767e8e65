// The decoder's fast paths beside the libraries' defaults, in one run: JPEG at libjpeg-turbo's
// fast scales against its other eighths and a full decode; HEIC through libheif with libde265
// (its default) and with FFmpeg's HEVC decoder, on the sample photos and on a phone-style grid
// of 512 x 512 tiles made from them; and a 24-megapixel RAW file's embedded preview against the
// same preview as a .jpg. Prints a Markdown table.
//
//   vesko_bench_fast_paths [photo folder] [runs] [only the groups whose name starts so]

#include <libheif/heif.h>
#include <cstdio>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "HeicGrid.h"
#include "LibraryCalls.h"
#include "Measure.h"
#include "RawImages.h"
#include "platform/decoder/Geometry.h"
#include "platform/decoder/HevcFfmpegPlugin.h"
#include "platform/decoder/PhotoDecoder.h"
#include "platform/decoder/PixelPool.h"

namespace vesko::bench {
namespace {

using Path = std::filesystem::path;

std::vector<Method> jpegMethods() {
    return {
        {"libjpeg-turbo, smallest eighth that covers",
         [](const Path& file, DisplayBound bound) {
             return libjpegScaled(file, bound, {1, 2, 3, 4, 5, 6, 7});
         }},
        {"libjpeg-turbo, smallest of 1/8, 1/4, 1/2",
         [](const Path& file, DisplayBound bound) {
             return libjpegScaled(file, bound, {1, 2, 4});
         }},
        {"libjpeg-turbo, full size",
         [](const Path& file, DisplayBound bound) { return libjpegScaled(file, bound, {}); }},
        {"Vesko", viaVesko},
    };
}

unsigned long viaVeskoWithoutKeptBuffers(const Path& file, DisplayBound bound) {
    const unsigned long decoded = viaVesko(file, bound);
    decoder::PixelPool::shared().clear();
    return decoded;
}

// As the window does it: the photo on screen is let go only once the next one is decoded.
Decode viaVeskoWhileShowingPrevious() {
    const auto shown = std::make_shared<ImageHandle>();
    return [shown](const Path& file, DisplayBound bound) {
        ImageHandle next = PhotoDecoder(bound).decode(file);
        *shown = std::move(next);
        return *shown ? (*shown)->byteCount() + (*shown)->bits()[(*shown)->byteCount() / 2] : 0;
    };
}

// The smallest covering eighth into each kind of output buffer, beside Vesko's decode with a
// fresh buffer every time and with the buffers of photos let go.
std::vector<Method> jpegBufferMethods() {
    const auto into = [](OutputBuffer output) {
        return [output](const Path& file, DisplayBound bound) {
            return libjpegScaled(file, bound, {1, 2, 3, 4, 5, 6, 7}, output);
        };
    };
    return {
        {"libjpeg-turbo, fresh zero-filled buffer", into(OutputBuffer::FreshZeroed)},
        {"libjpeg-turbo, fresh buffer, not filled", into(OutputBuffer::FreshUninitialised)},
        {"libjpeg-turbo, previous photo's buffer", into(OutputBuffer::Reused)},
        {"Vesko, fresh buffer every photo", viaVeskoWithoutKeptBuffers},
        {"Vesko, buffers of photos let go", viaVesko},
        {"Vesko, previous photo still shown", viaVeskoWhileShowingPrevious()},
    };
}

template <typename Work>
Decode withLibde265(Work work) {
    return [work](const Path& file, DisplayBound bound) {
        decoder::Libde265Only reference;
        return work(file, bound);
    };
}

std::vector<Method> heicMethods() {
    const auto full = [](const Path& file, DisplayBound) {
        return libheifFull(file, heif_chroma_interleaved_RGB);
    };
    return {
        {"libheif + libde265 (default), full RGB", withLibde265(full)},
        {"libheif + FFmpeg plugin, full RGB", full},
        {"Vesko with libde265", withLibde265(viaVesko)},
        {"Vesko", viaVesko},
    };
}

// The pixels of `image` stretched (nearest sample) to `width` x `height`.
testimages::Picture stretched(const DecodedImage& image, int width, int height) {
    testimages::Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            image.bits() + std::size_t(y * image.height() / height) * image.bytesPerLine();
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + std::size_t(x * image.width() / width) * 4;
            picture.at(x, y) = {p[0], p[1], p[2], 255};
        }
    }
    return picture;
}

ImageHandle firstPhoto(const Path& photos) {
    return PhotoDecoder({100000, 100000}).decode(photosIn(photos / "jpeg")[0]);
}

// A grid made once from the first sample photo and kept beside the benchmark: encoding its
// 48 tiles takes a while.
Path gridPhoto(const Path& photos) {
    const Path grid = Path(VESKO_BENCH_GRID_DIR) / "grid-512.heic";
    if (std::filesystem::exists(grid)) return grid;
    std::filesystem::create_directories(grid.parent_path());
    const ImageHandle image = firstPhoto(photos);
    testimages::writeFile(
        grid.string(),
        testimages::encodeHeicGrid(stretched(*image, image->width(), image->height()), 512, 50));
    return grid;
}

// Two 24-megapixel DNGs made once from the first sample photo, stretched to 6000 x 4000: one
// with a full-size JPEG preview (quality 95), whose bytes are also saved as a .jpg beside it,
// and one with only a 160 x 120 preview.
struct RawCopies {
    Path fullPreview;
    Path smallPreview;
};

Path previewBeside(const Path& dng) { return dng.parent_path() / "preview.jpg"; }

RawCopies rawCopies(const Path& photos) {
    const Path folder(VESKO_BENCH_RAW_DIR);
    const RawCopies copies{folder / "full-preview.dng", folder / "small-preview.dng"};
    if (std::filesystem::exists(copies.smallPreview)) return copies;
    std::filesystem::create_directories(folder);
    const ImageHandle image = firstPhoto(photos);
    const testimages::Picture sensor = stretched(*image, 6000, 4000);
    const testimages::Bytes preview = testimages::encodeJpeg(sensor);
    testimages::writeFile(previewBeside(copies.fullPreview).string(), preview);
    testimages::writeFile(copies.fullPreview.string(),
                          testimages::makeDng(sensor, {.preview = preview}));
    const testimages::Bytes thumbnail = testimages::encodeJpeg(stretched(*image, 160, 120));
    testimages::writeFile(copies.smallPreview.string(),
                          testimages::makeDng(sensor, {.preview = thumbnail}));
    return copies;
}

// LibRaw's answer about a file is kept by the file's identity, its time of change included: a
// new time makes the decode start LibRaw's process again, as for a photo seen the first time.
unsigned long viaVeskoSeenFirst(const Path& file, DisplayBound bound) {
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now());
    return viaVesko(file, bound);
}

std::vector<Method> rawPreviewMethods() {
    return {
        {"Vesko, the preview saved as .jpg",
         [](const Path& file, DisplayBound bound) { return viaVesko(previewBeside(file), bound); }},
        {"Vesko, the DNG seen before", viaVesko},
        {"Vesko, the DNG seen the first time", viaVeskoSeenFirst},
    };
}

std::string onlyGroups;

void printRows(const std::string& what, const std::vector<Method>& methods,
               const std::vector<Path>& photos, DisplayBound bound, int runs) {
    if (!what.starts_with(onlyGroups)) return;
    const std::vector<double> times = medianTimes(methods, photos, bound, runs);
    for (std::size_t m = 0; m < methods.size(); ++m) {
        char line[256];
        std::snprintf(line, sizeof line, "| %s | %dx%d | %s | %.0f | %.2f |", what.c_str(),
                      bound.width, bound.height, methods[m].name.c_str(), times[m],
                      times[m] / times[0]);
        std::cout << line << std::endl;
    }
}

int runAll(const Path& photos, int runs) {
    std::cout << "Milliseconds per photo, median of " << runs
              << " runs; the ratio is to the first row of each group (the library's default).\n\n"
              << "| Photos | Bound | Method | ms | ÷ first |\n|---|---|---|---|---|" << std::endl;
    const std::vector<Path> jpegs = photosIn(photos / "jpeg");
    for (const DisplayBound bound : {DisplayBound{1368, 900}, DisplayBound{2736, 1800}}) {
        printRows("JPEG", jpegMethods(), jpegs, bound, runs);
    }
    // The last bound is larger than the photos, as on a 5K or HiDPI screen: a full-size decode.
    for (const DisplayBound bound :
         {DisplayBound{1368, 900}, DisplayBound{2736, 1800}, DisplayBound{5120, 2880}}) {
        printRows("JPEG buffer", jpegBufferMethods(), jpegs, bound, runs);
    }
    const std::vector<Path> heics = photosIn(photos / "heic");
    for (const DisplayBound bound : {DisplayBound{1368, 900}, DisplayBound{2736, 1800}}) {
        printRows("HEIC", heicMethods(), heics, bound, runs);
    }
    if (std::string("HEIC grid").starts_with(onlyGroups)) {
        printRows("HEIC grid", heicMethods(), {gridPhoto(photos)}, {1368, 900}, runs);
    }
    if (!std::string("RAW").starts_with(onlyGroups) && !onlyGroups.starts_with("RAW")) return 0;
    const RawCopies raws = rawCopies(photos);
    for (const DisplayBound bound : {DisplayBound{1368, 900}, DisplayBound{2736, 1800}}) {
        printRows("RAW 24 MP, full-size preview", rawPreviewMethods(), {raws.fullPreview}, bound,
                  runs);
    }
    printRows("RAW 24 MP, 160 x 120 preview", {{"Vesko, raw data at half size", viaVeskoSeenFirst}},
              {raws.smallPreview}, {1368, 900}, runs);
    return 0;
}

}  // namespace
}  // namespace vesko::bench

int main(int argc, char** argv) {
    using namespace vesko::bench;
    vesko::decoder::registerFfmpegHevcDecoder();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const Path photos = args.size() > 0 ? Path(args[0]) : Path(VESKO_PHOTOS_DIR);
    const int runs = args.size() > 1 ? std::max(1, std::stoi(args[1])) : 7;
    if (args.size() > 2) onlyGroups = args[2];
    return runAll(photos, runs);
}
