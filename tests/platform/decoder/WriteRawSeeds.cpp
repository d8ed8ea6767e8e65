// Writes the DNGs that seed the RAW fuzz target into the folder given:
//     cmake --build build --target vesko_write_raw_seeds
//     build/tests/platform/decoder/vesko_write_raw_seeds tests/fuzz/seeds/raw
#include <string>

#include "RawImages.h"

using namespace vesko::testimages;

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    // LibRaw takes no sensor under 22 pixels a side, and no preview under 65 pixels in all.
    const Picture sensor = markedCorners(64);
    const Bytes preview = encodeJpeg(sensor);
    writeFile(folder + "/full-preview.dng", makeDng(sensor, {.preview = preview}));
    writeFile(folder + "/small-preview.dng",
              makeDng(sensor, {.preview = encodeJpeg(markedCorners(16))}));
    writeFile(folder + "/no-preview.dng", makeDng(sensor, {.preview = {}}));
    writeFile(folder + "/bitmap-preview.dng",
              makeDng(sensor, {.preview = {}, .previewIsBitmap = true}));
    writeFile(
        folder + "/turned-adobe.dng",
        makeDng(storedFor(sensor, 6),
                {.preview = encodeJpeg(storedFor(sensor, 6)), .orientation = 6, .adobeRgb = true}));
    return 0;
}
