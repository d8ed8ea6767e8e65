#include "ClassifierFixture.h"

#include "platform/Paths.h"

namespace vesko {

Snapshot snapshotOf(const PhotoViewModel& c) {
    return {c.currentImage() != nullptr, c.remaining(), c.showFinished(), c.folderName(),
            c.currentFileName(),         c.progress(),  c.total(),        c.canUndo()};
}

ClassifierTest::ClassifierTest() {
    disk->addFolder(folder);
    classifier = PhotoViewModel::create({fileSystem, decoder, chooser, desktop, mainThread});
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

}  // namespace vesko
