#include <functional>
#include <thread>

#include "ClassifierFixture.h"
#include "platform/AheadDecoder.h"
#include "platform/fakes/FakeItemProvider.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/platform/ByteDecoder.h"

namespace vesko {
namespace {

using Providers = std::vector<std::shared_ptr<ItemProvider>>;

class DropTest : public ClassifierTest {
protected:
    // Drops the providers, waits for every delivery, and returns how many jobs were posted.
    std::size_t drop(const std::vector<std::shared_ptr<FakeItemProvider>>& providers) {
        classifier->handleDrop(Providers(providers.begin(), providers.end()));
        for (const auto& provider : providers) {
            provider->waitForDelivery();
        }
        return mainThread->pending();
    }
};

// Only a file URL of a folder loads, and only the first of several items counts: on the main
// thread, once the handler has returned.
TEST_F(DropTest, OnlyTheFirstItemLoadsAndOnlyAFolderOnTheMainThreadLater) {
    addPhotos({"a.jpg"});
    disk->addFolder("/other");
    for (const auto& unusable : std::vector<std::shared_ptr<FakeItemProvider>>{
             std::make_shared<FakeItemProvider>(std::nullopt, "no file URL"),
             std::make_shared<FakeItemProvider>(Item{OtherItem{"text"}}),
             FakeItemProvider::forUrl("https://example.org/photos"),
             FakeItemProvider::forUrl("file:///photos/a.jpg"),
             FakeItemProvider::forUrl("file:///nowhere"),
         }) {
        EXPECT_EQ(drop({unusable}), 0u);
    }
    EXPECT_EQ(drop({}), 0u);
    watch();
    EXPECT_EQ(drop({FakeItemProvider::forUrl("file:///photos/"),
                    FakeItemProvider::forUrl("file:///other")}),
              1u);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(classifier->state(), ClassifierState::Start);
    mainThread->drain();
    EXPECT_EQ(classifier->folderName(), "photos");
    EXPECT_EQ(classifier->currentFileName(), "a.jpg");
}

TEST_F(DropTest, PendingDropKeepsTheClassifierAlive) {
    addPhotos({"a.jpg"});
    auto provider = FakeItemProvider::forUrl("file:///photos");
    classifier->handleDrop({provider});
    classifier.reset();
    provider->waitForDelivery();
    ASSERT_EQ(mainThread->pending(), 1u);
    mainThread->drain();
    // The job ran on a live classifier, which then went away on the main thread.
    EXPECT_EQ(decoder->decoded().size(), 1u);
    EXPECT_EQ(decoder.use_count(), 1);
}

TEST_F(ClassifierTest, LastReleaseOnAnotherThreadIsDeferredToTheMainThread) {
    std::thread([owned = std::move(classifier)]() mutable { owned.reset(); }).join();
    EXPECT_EQ(decoder.use_count(), 2);  // still held by the classifier
    EXPECT_EQ(mainThread->drain(), 1);
    EXPECT_EQ(decoder.use_count(), 1);
}

// Answers, undoes, goes back and reloads while two workers decode ahead on a real folder, and
// lets go of the decoder with decodes running: every photo shown is that photo's own pixels.
TEST(DecodingAhead, EveryPresentationShowsItsOwnPhotoWhileDecodesRun) {
    auto classifier = PhotoViewModel::create(
        {std::make_shared<PosixFileSystem>(),
         std::make_shared<AheadDecoder>(std::make_shared<ByteDecoder>(), 2),
         std::make_shared<ScriptedFolderChooser>(), std::make_shared<RecordingDesktop>(),
         std::make_shared<QueuedMainThread>()});
    const std::vector<std::function<void()>> answers = {
        [&] { classifier->classifyCurrent(kSelectedFolder); },
        [&] { classifier->undoLast(); },
        [&] { classifier->skipCurrent(); },
        [&] { classifier->classifyCurrent(kDiscardedFolder); },
    };
    for (int round = 0; round < 12; ++round) {
        TempFolder folder;
        for (const char* name : {"a.jpg", "b.png", "c.heic", "d.webp", "e.jpg", "f.jpg"}) {
            folder.write(name, name);
        }
        classifier->loadFolder(folder.path());
        for (int step = 0; classifier->state() == ClassifierState::Deciding; ++step) {
            const auto image = classifier->currentImage();
            ASSERT_TRUE(image);
            ASSERT_EQ(static_cast<char>(image->bits()[0]), classifier->currentFileName()->front());
            if (step == round && round % 2) {
                classifier->reset();
            } else if (step == round) {
                classifier->loadFolder(folder.path());
            }
            answers[std::size_t(step) % answers.size()]();
        }
    }
}

}  // namespace
}  // namespace vesko
