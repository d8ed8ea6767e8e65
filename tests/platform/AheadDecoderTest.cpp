#include "platform/AheadDecoder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ByteDecoder.h"
#include "TempFolder.h"

namespace vesko {
namespace {

namespace fs = std::filesystem;

int redOf(const ImageHandle& image) { return image ? image->bits()[0] : -1; }

class AheadDecoderTest : public ::testing::Test {
protected:
    // The decode of `name`, expected alone and finished ahead.
    void decodeAhead(const std::string& name) {
        decoder.expect({folder.path() / name});
        inner->waitUntilFinished(name, 1);
    }

    TempFolder folder;
    std::shared_ptr<ByteDecoder> inner = std::make_shared<ByteDecoder>();
    AheadDecoder decoder{inner, 1};
};

// The image is used while the file is the one decoded: renamed, also under its new name once
// expected there (an answered photo, kept for Undo).
TEST_F(AheadDecoderTest, ImageDecodedAheadIsUsedOnlyWhileItsFileIsUnchanged) {
    struct Case {
        const char* change;
        std::function<fs::path(const fs::path&)> apply;  // gives the path then asked for
        int red;                                         // -1: no image
        int decodes;
    };
    const auto rewrite = [](const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    };
    const std::vector<Case> cases = {
        {"untouched", [](const fs::path& file) { return file; }, 'a', 1},
        {"renamed away and back",
         [](const fs::path& file) {
             fs::rename(file, file.string() + ".moved");
             fs::rename(file.string() + ".moved", file);
             return file;
         },
         'a', 1},
        {"moved into a subfolder and expected there",
         [&](const fs::path& file) {
             (void)decoder.decode(file);  // shown, then answered
             const fs::path moved = folder.path() / "Selected" / file.filename();
             fs::create_directories(moved.parent_path());
             fs::rename(file, moved);
             decoder.expect({moved});
             return moved;
         },
         'a', 1},
        {"replaced by another file",
         [&](const fs::path& file) {
             rewrite(file.string() + ".new", "b");
             fs::rename(file.string() + ".new", file);
             return file;
         },
         'b', 2},
        {"rewritten within the same second",
         [&](const fs::path& file) {
             const auto before = fs::last_write_time(file);
             rewrite(file, "b");
             fs::last_write_time(file, before + std::chrono::nanoseconds(1));
             return file;
         },
         'b', 2},
        {"deleted",
         [](const fs::path& file) {
             fs::remove(file);
             return file;
         },
         -1, 2},
    };
    for (const auto& [change, apply, red, decodes] : cases) {
        SCOPED_TRACE(change);
        const std::string name = std::string(change) + ".jpg";
        const fs::path file = folder.write(name, "a");
        decodeAhead(name);
        EXPECT_EQ(redOf(decoder.decode(apply(file))), red);
        EXPECT_EQ(inner->started(name), decodes);
    }
}

// What was read before the change must never be shown, nor its facts.
TEST_F(AheadDecoderTest, FileRewrittenWhileItsDecodeAheadRunsIsDecodedAgain) {
    const fs::path file = folder.write("rewritten.jpg", "a");
    inner->whileDecoding = [&] { std::ofstream(file, std::ios::binary | std::ios::trunc) << "bb"; };
    decodeAhead("rewritten.jpg");
    inner->whileDecoding = nullptr;
    EXPECT_EQ(redOf(decoder.decode(file)), 'b');
}

TEST_F(AheadDecoderTest, FileStillDecodingWhenAskedForIsWaitedForNotDecodedTwice) {
    const fs::path file = folder.write("slow.jpg", "a");
    inner->hold("slow.jpg");
    decoder.expect({file});
    inner->waitUntilStarted("slow.jpg", 1);
    decoder.expect({});
    decoder.expect({file});  // named again while its decode runs
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let decode() wait first
        inner->release("slow.jpg");
    });
    EXPECT_EQ(redOf(decoder.decode(file)), 'a');
    releaser.join();
    EXPECT_EQ(inner->started("slow.jpg"), 1);
}

TEST_F(AheadDecoderTest, HintLetsGoOfFilesNoLongerExpectedAndCancelsTheirQueuedDecodes) {
    const fs::path slow = folder.write("slow.jpg", "s"), ready = folder.write("ready.jpg", "r"),
                   queued = folder.write("queued.jpg", "q"), next = folder.write("next.jpg", "n");
    decodeAhead("ready.jpg");
    inner->hold("slow.jpg");
    decoder.expect({slow, ready, queued});
    inner->waitUntilStarted("slow.jpg", 1);
    decoder.expect({next});
    inner->release("slow.jpg");
    inner->waitUntilStarted("next.jpg", 1);
    EXPECT_EQ(inner->started("queued.jpg"), 0);
    // What was let go, finished or not, is decoded again when asked for.
    EXPECT_EQ(redOf(decoder.decode(ready)), 'r');
    EXPECT_EQ(redOf(decoder.decode(slow)), 's');
    EXPECT_EQ(inner->started("ready.jpg"), 2);
    EXPECT_EQ(inner->started("slow.jpg"), 2);
}

TEST_F(AheadDecoderTest, FailureAheadIsTriedOnceMoreWhenAskedForAndNeverThrown) {
    for (const std::string name : {"empty.jpg", "throws"}) {
        SCOPED_TRACE(name);
        const fs::path file = folder.write(name, name == "throws" ? "t" : "");
        decodeAhead(name);
        // Were it queued again, the one worker would start it before the next file.
        decoder.expect({file, folder.write(name + ".next", "n")});
        inner->waitUntilStarted(name + ".next", 1);
        EXPECT_EQ(inner->started(name), 1);
        EXPECT_EQ(redOf(decoder.decode(file)), -1);
        EXPECT_EQ(inner->started(name), 2);
    }
}

}  // namespace
}  // namespace vesko
