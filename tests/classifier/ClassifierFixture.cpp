#include "ClassifierFixture.h"

#include "platform/Paths.h"

namespace vesko {

Snapshot snapshotOf(const PhotoViewModel& c) {
    return {c.currentImage() != nullptr, c.remaining(), c.showFinished(), c.folderName(),
            c.currentFileName(),         c.progress(),  c.total(),        c.canUndo()};
}

ClassifierTest::ClassifierTest() {
    disk->addFolder(folder);
    classifier = PhotoViewModel::create(
        {fileSystem, decoder, chooser, desktop, mainThread, preferences, journal, captureReader});
}

void ClassifierTest::addPhotos(const std::vector<std::string>& names) {
    for (const auto& name : names) {
        disk->addFile(folder / name);
    }
}

void ClassifierTest::loadPhotos(const std::vector<std::string>& names) {
    addPhotos(names);
    classifier->loadFolder(folder);
}

std::vector<std::string> ClassifierTest::queueNames() const {
    std::vector<std::string> names;
    for (const auto& photo : classifier->queue()) {
        names.push_back(lastPathComponent(photo.path));
    }
    return names;
}

void ClassifierTest::watch() {
    subscription_ = classifier->objectWillChange().subscribe(
        [this] { events.push_back(snapshotOf(*classifier)); });
}

std::vector<std::string> ClassifierTest::announced() const {
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Snapshot& a = events[i];
        const Snapshot b = i + 1 < events.size() ? events[i + 1] : snapshotOf(*classifier);
        std::string changed;
        const auto note = [&](bool differs, const char* name) {
            if (differs) changed += (changed.empty() ? "" : "+") + std::string(name);
        };
        note(a.hasImage != b.hasImage, "image");
        note(a.remaining != b.remaining, "remaining");
        note(a.showFinished != b.showFinished, "finished");
        note(a.folderName != b.folderName, "folder");
        note(a.currentFileName != b.currentFileName, "file");
        note(a.progress != b.progress, "progress");
        note(a.total != b.total, "total");
        note(a.canUndo != b.canUndo, "canUndo");
        fields.push_back(changed.empty() ? "=" : changed);
    }
    return fields;
}

}  // namespace vesko
