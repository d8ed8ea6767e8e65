#include <thread>

#include "ClassifierFixture.h"
#include "platform/FileUrl.h"
#include "platform/fakes/FakeItemProvider.h"

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

TEST_F(DropTest, DroppedFolderLoadsOnTheMainThreadAfterTheHandlerReturned) {
    addPhotos({"a.jpg"});
    auto provider = FakeItemProvider::forUrl("file:///photos/");
    watch();
    EXPECT_EQ(drop({provider}), 1u);
    EXPECT_EQ(provider->requestedType(), kFileUrlType);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(classifier->state(), ClassifierState::Start);

    mainThread->drain();
    EXPECT_EQ(classifier->folderName(), "photos");
    EXPECT_EQ(classifier->currentFileName(), "a.jpg");
}

TEST_F(DropTest, OnlyTheFirstOfSeveralItemsCounts) {
    disk->addFolder("/other");
    auto first = FakeItemProvider::forUrl("file:///other");
    auto second = FakeItemProvider::forUrl("file:///photos");
    EXPECT_EQ(drop({first, second}), 1u);
    EXPECT_EQ(second->requestedType(), "");
    mainThread->drain();
    EXPECT_EQ(classifier->folderName(), "other");
}

TEST_F(DropTest, UnusableDropsAreIgnored) {
    addPhotos({"a.jpg"});
    const std::vector<std::shared_ptr<FakeItemProvider>> unusable = {
        std::make_shared<FakeItemProvider>(std::nullopt, "no file URL"),
        std::make_shared<FakeItemProvider>(Item{OtherItem{"text"}}),
        FakeItemProvider::forUrl("not a url"),
        FakeItemProvider::forUrl("https://example.org/photos"),
        FakeItemProvider::forUrl("file:///photos/a.jpg"),
        FakeItemProvider::forUrl("file:///nowhere"),
    };
    for (const auto& provider : unusable) {
        EXPECT_EQ(drop({provider}), 0u);
    }
    EXPECT_EQ(classifier->state(), ClassifierState::Start);
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

TEST(Teardown, LastReleaseOnAnotherThreadIsDeferredToTheMainThread) {
    auto mainThread = std::make_shared<QueuedMainThread>();
    auto disk = std::make_shared<InMemoryFileSystem>();
    auto decoder = std::make_shared<FakeImageDecoder>(disk);
    auto classifier =
        PhotoViewModel::create({disk, decoder, std::make_shared<ScriptedFolderChooser>(),
                                std::make_shared<RecordingDesktop>(), mainThread});
    std::thread([owned = std::move(classifier)]() mutable { owned.reset(); }).join();
    EXPECT_EQ(decoder.use_count(), 2);  // still held by the classifier
    EXPECT_EQ(mainThread->drain(), 1);
    EXPECT_EQ(decoder.use_count(), 1);
}

}  // namespace
}  // namespace vesko
