#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classifier/PhotoViewModel.h"
#include "platform/fakes/FailingFileSystem.h"
#include "platform/fakes/FakeCaptureReader.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/fakes/FakeImageDecoder.h"
#include "platform/fakes/InMemoryFileSystem.h"
#include "platform/fakes/MemoryMoveJournal.h"
#include "platform/fakes/QueuedMainThread.h"

namespace vesko {

// Snapshots of the published fields, taken when an event arrives: what an observer can see.
struct Snapshot {
    bool hasImage;
    std::int64_t remaining;
    bool showFinished;
    std::optional<std::string> folderName;
    std::optional<std::string> currentFileName;
    std::int64_t progress;
    std::int64_t total;
    bool canUndo;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const PhotoViewModel& classifier);

// A classifier over an in-memory folder /photos, with every platform service faked.
class ClassifierTest : public ::testing::Test {
protected:
    ClassifierTest();

    // Adds files to /photos in the given order, which is the order the folder lists them.
    void addPhotos(const std::vector<std::string>& names);
    void loadPhotos(const std::vector<std::string>& names);
    std::vector<std::string> queueNames() const;
    // Starts recording a snapshot at every will-change event.
    void watch();
    // For each recorded event, the fields that changed between it and the next (or now),
    // joined by "+"; "=" where the value announced was set again unchanged.
    std::vector<std::string> announced() const;

    const std::filesystem::path folder{"/photos"};
    std::shared_ptr<InMemoryFileSystem> disk = std::make_shared<InMemoryFileSystem>();
    std::shared_ptr<FailingFileSystem> fileSystem = std::make_shared<FailingFileSystem>(disk);
    std::shared_ptr<FakeImageDecoder> decoder = std::make_shared<FakeImageDecoder>(disk);
    std::shared_ptr<ScriptedFolderChooser> chooser = std::make_shared<ScriptedFolderChooser>();
    std::shared_ptr<RecordingDesktop> desktop = std::make_shared<RecordingDesktop>();
    std::shared_ptr<QueuedMainThread> mainThread = std::make_shared<QueuedMainThread>();
    std::shared_ptr<MemoryPreferences> preferences = std::make_shared<MemoryPreferences>();
    std::shared_ptr<MemoryMoveJournal> journal = std::make_shared<MemoryMoveJournal>();
    std::shared_ptr<FakeCaptureReader> captureReader = std::make_shared<FakeCaptureReader>();
    std::shared_ptr<PhotoViewModel> classifier;
    std::vector<Snapshot> events;

private:
    ChangePublisher::Subscription subscription_;
};

}  // namespace vesko
