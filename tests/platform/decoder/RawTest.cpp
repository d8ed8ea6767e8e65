#include "DecoderTestSupport.h"
#include "RawImages.h"
#include "platform/decoder/RawReaderWire.h"

namespace vesko {
namespace {

using namespace testimages;

// A sensor the preview does not look like, so that a pixel tells which was shown.
Picture blueSensor(int width, int height) { return Picture(width, height, kBlue); }

struct RawCase {
    const char* name;
    Picture sensor;
    DngOptions options;
    DisplayBound bound;
    int width;  // of the decoded image; its height is half of it
};

// Upright markedCorners(128), and the way it was stored in the file.
const Picture kUpright = markedCorners(128);

// Where the picture comes from (preview or raw data at half size), and that it comes out upright
// whichever way it was stored.
TEST_F(DecoderTest, RawShowsItsPreviewOrItsRawDataUpright) {
    const std::vector<RawCase> cases = {
        {"full preview", blueSensor(128, 64), {.preview = encodeJpeg(kUpright)}, {128, 128}, 128},
        {"turned by the camera, preview stored as the sensor",
         blueSensor(64, 128),
         {.preview = encodeJpeg(storedFor(kUpright, 6)), .orientation = 6},
         {128, 128},
         128},
        {"turned the other way",
         blueSensor(64, 128),
         {.preview = encodeJpeg(storedFor(kUpright, 8)), .orientation = 8},
         {128, 128},
         128},
        {"preview stored upright already",
         blueSensor(64, 128),
         {.preview = encodeJpeg(kUpright), .orientation = 6},
         {128, 128},
         128},
        {"small preview: raw data at half size",
         kUpright,
         {.preview = encodeJpeg(markedCorners(16))},
         {256, 256},
         64},
        {"no preview", kUpright, {.preview = {}}, {256, 256}, 64},
        {"raw data turned",
         storedFor(kUpright, 6),
         {.preview = {}, .orientation = 6},
         {256, 256},
         64},
    };
    for (const RawCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageHandle image = decodeBytes(makeDng(c.sensor, c.options), c.bound, "shot.dng");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), c.width);
        expectBlocksOf(image, kUpright, 40);
    }
}

// Cameras set Adobe RGB in EXIF and embed no profile: its green is beyond sRGB's.
TEST_F(DecoderTest, RawPreviewInAdobeRgbIsShownInSrgb) {
    const ImageHandle image = decodeBytes(
        makeDng(blueSensor(128, 64), {.preview = encodeJpeg(kUpright), .adobeRgb = true}),
        {128, 128}, "shot.dng");
    ASSERT_TRUE(image);
    EXPECT_TRUE(near(pixelAt(*image, 112, 16), {0, 204, 0, 255}, 8));
    EXPECT_TRUE(near(pixelAt(*image, 64, 48), kGrey, 3));
}

// Zoom shows the preview's own pixels where it is as large as the sensor, turned like the
// fitted picture; a smaller preview has none to offer.
TEST_F(DecoderTest, RawRegionsComeFromAFullSizePreview) {
    const PhotoDecoder decoder({512, 512});
    const auto turned =
        write(makeDng(blueSensor(64, 128),
                      {.preview = encodeJpeg(storedFor(kUpright, 6)), .orientation = 6}),
              "turned.dng");
    ASSERT_EQ(decoder.fullSize(turned), (PixelSize{128, 64}));
    const ImageHandle whole = decoder.decode(turned);
    const ImageHandle part = decoder.decodeRegion(turned, {100, 8, 20, 20});
    ASSERT_TRUE(whole && part);
    EXPECT_TRUE(near(pixelAt(*part, 10, 10), pixelAt(*whole, 110, 18), 1));
    const auto small =
        write(makeDng(kUpright, {.preview = encodeJpeg(markedCorners(32))}), "small.dng");
    EXPECT_EQ(decoder.fullSize(small), std::nullopt);
}

// A camera that LibRaw does not know (here, by a sensor too small for it) still shows the largest
// preview that exiv2 finds, turned as the RAW's EXIF says.
TEST_F(DecoderTest, RawThatLibRawRefusesShowsThePreviewExiv2Finds) {
    const Bytes unknown = makeDng(blueSensor(16, 8), {.preview = encodeJpeg(storedFor(kUpright, 6)),
                                                      .orientation = 6,
                                                      .previewAsExifJpeg = true});
    expectBlocksOf(decodeBytes(unknown, {128, 128}, "shot.cr3"), kUpright, 40);
}

// LibRaw runs in a process of its own, and its answer counts only when whole and followed by a
// clean exit: here stand-ins answer about a TIFF header followed by a JPEG.
TEST_F(DecoderTest, RawReaderCountsOnlyWholeAnswersOfACleanExit) {
    const Bytes jpeg = encodeJpeg(kUpright);
    Bytes shot(8 + jpeg.size());
    shot[0] = shot[1] = 'I';
    shot[2] = 42;
    std::copy(jpeg.begin(), jpeg.end(), shot.begin() + 8);
    const decoder::wire::RawFacts facts{
        .sensorWidth = 128, .sensorHeight = 64, .previewOffset = 8, .previewLength = jpeg.size()};
    const auto* factBytes = reinterpret_cast<const std::uint8_t*>(&facts);
    const auto answer = write(Bytes(factBytes, factBytes + sizeof facts), "answer");
    const std::vector<std::pair<std::string, bool>> readers = {
        {"cat answer", true},
        {"cat answer; kill -SEGV $$", false},
        {"head -c 20 answer", false},
    };
    for (const auto& [script, shows] : readers) {
        SCOPED_TRACE(script);
        const std::string text = "#!/bin/sh\ncd " + answer.parent_path().string() + "\n" + script;
        const auto reader = write(Bytes(text.begin(), text.end()), "reader.sh");
        std::filesystem::permissions(reader, std::filesystem::perms::owner_all);
        ::setenv("VESKO_RAW_READER", reader.c_str(), 1);
        const ImageHandle image = PhotoDecoder({128, 128}).decode(write(shot, script + ".nef"));
        ::unsetenv("VESKO_RAW_READER");
        if (shows) {
            expectBlocksOf(image, kUpright, 40);
        } else {
            EXPECT_FALSE(image);
        }
    }
}

// What LibRaw told of a file is kept by its identity: a file written over shows its new picture.
TEST_F(DecoderTest, RawWrittenOverShowsItsNewPicture) {
    const PhotoDecoder decoder({128, 128});
    const auto file =
        write(makeDng(blueSensor(128, 64), {.preview = encodeJpeg(kUpright)}), "a.dng");
    ASSERT_TRUE(decoder.decode(file));
    testimages::writeFile(file, makeDng(kUpright, {.preview = {}}));
    const ImageHandle image = decoder.decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 64);
}

struct DamagedCase {
    const char* name;
    Bytes file;
    int width;  // of the picture shown; 0 for none
    DecodeProblem problem = DecodeProblem::none;
};

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

// Whatever part is missing or wrong, the file gives a placeholder, or another picture it holds.
TEST_F(DecoderTest, DamagedRawGivesAPlaceholderOrAnotherPicture) {
    const Bytes full = makeDng(kUpright, {.preview = encodeJpeg(kUpright)});
    const Bytes small = encodeJpeg(markedCorners(32));
    Bytes unmarked = encodeJpeg(kUpright);
    unmarked[0] = unmarked[1] = 0;
    const std::vector<DamagedCase> cases = {
        {"preview past the end",
         makeDng(kUpright, {.preview = encodeJpeg(kUpright), .previewOffsetShift = 1 << 20}), 64},
        {"preview without its start marker", makeDng(kUpright, {.preview = unmarked}), 128},
        {"preview of two bytes", makeDng(kUpright, {.preview = {0xFF, 0xD8}}), 64},
        {"bitmap preview", makeDng(kUpright, {.preview = {}, .previewIsBitmap = true}), 64},
        {"raw data stripped",
         makeDng(kUpright, {.preview = encodeJpeg(kUpright), .withRawData = false}), 128},
        {"raw data stripped, small preview",
         makeDng(kUpright, {.preview = small, .withRawData = false}), 32},
        {"cut in the raw data", cut(full, full.size() - 1000), 128},
        {"cut in the header", cut(full, 100), 0, DecodeProblem::unknownRaw},
        {"text named .nef", Bytes{'h', 'e', 'l', 'l', 'o'}, 0, DecodeProblem::notAnImage},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = write(c.file, "shot.nef");
        const PhotoDecoder decoder({128, 128});
        const ImageHandle image = decoder.decode(file);
        EXPECT_EQ(image ? image->width() : 0, c.width);
        if (!image) {
            EXPECT_EQ(decoder.whyNoImage(file), c.problem);
        }
    }
}

}  // namespace
}  // namespace vesko
