// From Z to the sharp zoomed view, against the view's region alone and a full-resolution decode
// of the whole file, for each format: the work the window's region loader does on its worker,
// timed on the app's decoder stack (platform/DecoderStack.h), with the photo and the next one
// decoded ahead at the view's size as when Z is pressed on a photo shown.
// Usage: vesko_bench_zoom [photos folder] [view width] [view height]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SampleFormats.h"
#include "platform/DecoderStack.h"
#include "platform/decoder/PhotoDecoder.h"

namespace vesko::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// What the window asks for: its view and half a view around it, at the image's centre.
PixelRect spanAround(PixelSize full, int viewWidth, int viewHeight, int shiftX = 0) {
    return {full.width / 2 - viewWidth + shiftX, full.height / 2 - viewHeight, viewWidth * 2,
            viewHeight * 2};
}

PixelRect viewAround(PixelSize full, int viewWidth, int viewHeight) {
    return {(full.width - viewWidth) / 2, (full.height - viewHeight) / 2, viewWidth, viewHeight};
}

// As the region loader works: the size, the view (the first sharp frame) where the format decodes
// regions alone, else the view with its margin at once; then the margin; then the same span of
// the next photo.
void measure(const SampleFormat& format, int viewWidth, int viewHeight) {
    const PhotoDecoder wholeDecoder({1 << 30, 1 << 30});
    const std::shared_ptr<HintedDecoder> decoder =
        decoderStackOver(std::make_shared<PhotoDecoder>(DisplayBound{viewWidth, viewHeight}));
    std::vector<double> whole, viewAlone, firstSharp, margin, nextSpan, fullPan;
    int failed = 0;
    const std::vector<std::filesystem::path> photos = photosIn(format.folder);
    for (std::size_t i = 0; i < photos.size(); ++i) {
        const auto& file = photos[i];
        whole.push_back(millisecondsOf([&] { failed += wholeDecoder.decode(file) ? 0 : 1; }));
        // The photo on screen and the next one decoded ahead, as the window leaves them.
        const auto& next = photos[(i + 1) % photos.size()];
        decoder->expect({file, next});
        failed += decoder->decode(file) && decoder->decode(next) ? 0 : 1;
        std::optional<PixelSize> full;
        bool viewFirst = false;
        firstSharp.push_back(millisecondsOf([&] {
            (void)identityOf(file);
            full = decoder->fullSize(file);
            viewFirst = full && decoder->decodesRegionsAlone(file);
            const auto first = viewFirst ? viewAround : [](PixelSize size, int width, int height) {
                return spanAround(size, width, height);
            };
            failed +=
                full && decoder->decodeRegion(file, first(*full, viewWidth, viewHeight)) ? 0 : 1;
        }));
        if (!full) continue;
        viewAlone.push_back(millisecondsOf(
            [&] { decoder->decodeRegion(file, viewAround(*full, viewWidth, viewHeight)); }));
        const double spanTime = millisecondsOf(
            [&] { decoder->decodeRegion(file, spanAround(*full, viewWidth, viewHeight)); });
        margin.push_back(viewFirst ? spanTime : 0);
        nextSpan.push_back(spanTime);
        // Half a view is inside what was decoded already; a whole view asks again.
        fullPan.push_back(millisecondsOf([&] {
            decoder->decodeRegion(file, spanAround(*full, viewWidth, viewHeight, viewWidth));
        }));
    }
    decoder->expect({});
    const double sharp = median(firstSharp);
    const double alone = median(viewAlone);
    const double withMargin = sharp + median(margin);
    std::printf("| %s | %.1f | %.1f | %.1f | %.2f | %.1f | 0 (no decode) | %.1f | %s | %d |\n",
                format.name.c_str(), median(whole), alone, sharp, sharp / alone, withMargin,
                median(fullPan), withMargin + median(nextSpan) < 700 ? "yes" : "no", failed);
}

}  // namespace
}  // namespace vesko::bench

int main(int argc, char** argv) {
    const std::filesystem::path photos = argc > 1 ? argv[1] : VESKO_PHOTOS_DIR;
    const int viewWidth = argc > 2 ? std::stoi(argv[2]) : 1400;
    const int viewHeight = argc > 3 ? std::stoi(argv[3]) : 900;
    std::printf(
        "| format | whole file, full resolution (ms) | the view's region alone (ms) | Z to "
        "first sharp frame (ms) | ÷ view alone | with the margin (ms) | pan half a view (ms) "
        "| pan a whole view (ms) | next photo ready within a 0.7 s dwell | failed |\n"
        "|---|---|---|---|---|---|---|---|---|---|\n");
    auto formats = vesko::bench::sampleFormats(photos, VESKO_BENCH_SCRATCH_DIR);
    formats.insert(formats.begin(), vesko::bench::largeJpegs(photos, VESKO_BENCH_SCRATCH_DIR));
    for (const auto& format : formats) {
        vesko::bench::measure(format, viewWidth, viewHeight);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %ld MiB\n", usage.ru_maxrss / 1024);
}
