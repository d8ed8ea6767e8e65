#include "ui/RegionLoader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <future>
#include <thread>

namespace vesko {
namespace {

// Every photo 400 x 300; no region before the gate opens, then each in a few milliseconds, so
// that the workers overlap.
class SlowRegions : public ImageDecoder {
public:
    explicit SlowRegions(std::shared_future<void> gate) : gate_(std::move(gate)) {}

    ImageHandle decode(const std::filesystem::path&) const override { return nullptr; }
    std::optional<PixelSize> fullSize(const std::filesystem::path&) const override {
        return PixelSize{400, 300};
    }
    bool decodesRegionsAlone(const std::filesystem::path&) const override { return true; }
    ImageHandle decodeRegion(const std::filesystem::path&, PixelRect region) const override {
        gate_.wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        const auto stride = std::size_t(region.width) * 4;
        return std::make_shared<DecodedImage>(
            region.width, region.height, stride,
            std::vector<std::uint8_t>(stride * std::size_t(region.height), 255), false);
    }

private:
    std::shared_future<void> gate_;
};

// Processes events until `done` holds, for at most ten seconds.
bool eventually(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return done();
}

// The loader on its real worker threads; also run under ThreadSanitizer. Four zoomed views at
// once: each gets its own photo's view, then its margin; the photo ahead is read once, after
// all of those. The last view let go drops every pixel, and a loader destroyed while
// its workers decode waits for no more than the regions running.
TEST(RegionLoaderTest, EachViewGetsItsPhotoBeforeThePhotoAhead) {
    int argc = 1;
    char name[] = "region_loader";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    QStringList photos;
    std::vector<std::string> hint;
    for (const char* file : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) {
        photos << folder.filePath(file);
        QFile(photos.back()).open(QIODevice::WriteOnly);
        hint.push_back(QFile::encodeName(photos.back()).toStdString());
    }
    std::promise<void> gate;
    auto decoder =
        std::make_shared<HintedDecoder>(std::make_shared<SlowRegions>(gate.get_future().share()));
    decoder->expect(hint);
    QObject views[4];
    auto loader = std::make_unique<RegionLoader>(decoder);
    QStringList arrivals;  // each photo's name and its region's width
    QObject::connect(loader.get(), &RegionLoader::loaded, [&](const QString& photo) {
        arrivals << photo.right(5) + QString::number(loader->knownRegion(photo).first.width());
    });
    for (int i = 0; i < 4; ++i) loader->load(&views[i], photos[i], {0.5, 0.5}, {100, 80});
    gate.set_value();

    ASSERT_TRUE(eventually([&] { return arrivals.contains("e.jpg100"); }))
        << arrivals.join(" ").toStdString();
    EXPECT_EQ(arrivals.last(), "e.jpg100");
    EXPECT_EQ(arrivals.size(), 9);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LT(arrivals.indexOf(photos[i].right(5) + "50"),
                  arrivals.indexOf(photos[i].right(5) + "100"));
        EXPECT_EQ(loader->knownRegion(photos[i]).first, QRect(150, 110, 100, 80));
    }
    for (QObject& view : views) loader->release(&view);
    EXPECT_TRUE(loader->knownRegion(photos[0]).second.isNull());
    EXPECT_TRUE(loader->knownRegion(photos[4]).second.isNull());

    for (int i = 0; i < 4; ++i) loader->load(&views[i], photos[i], {0.2, 0.2}, {100, 80});
    loader.reset();
}

}  // namespace
}  // namespace vesko
