#include "ViewModelBridge.h"

#include <QQmlEngine>

#include "ImageHandleImage.h"
#include "NoticeTexts.h"
#include "ShootingFactsText.h"
#include "platform/qt/UrlItemProvider.h"

namespace vesko {
namespace {

QString nameOrNone(const std::optional<std::string>& name) {
    return name ? fromNameBytes(*name) : QString();
}

template <typename T>
bool update(T& stored, T value) {
    if (stored == value) {
        return false;
    }
    stored = std::move(value);
    return true;
}

}  // namespace

ViewModelBridge::ViewModelBridge(std::shared_ptr<PhotoViewModel> model,
                                 std::shared_ptr<Preferences> preferences, QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      preferences_(preferences ? std::move(preferences) : std::make_shared<MemoryPreferences>()) {
    subscription_ = model_->objectWillChange().subscribe([this] { willChange(); });
    publish();
}

ViewModelBridge::~ViewModelBridge() = default;

void ViewModelBridge::willChange() {
    if (running_ > 0 || publishQueued_) {
        return;
    }
    publishQueued_ = true;
    QMetaObject::invokeMethod(this, &ViewModelBridge::publish, Qt::QueuedConnection);
}

// Stores every new value before the first signal goes out, so that a handler which reads
// another property, or calls an operation, sees the whole new state.
void ViewModelBridge::publish() {
    publishQueued_ = false;
    const PhotoViewModel& model = *model_;
    const bool imageChanged = update(imageHandle_, model.currentImage());
    if (imageChanged) {
        currentImage_ = imageFromHandle(imageHandle_);
        shootingFacts_ = imageHandle_ ? shootingFactsLine(imageHandle_->facts()) : QString();
    }
    const bool folderChanged = update(folderName_, nameOrNone(model.folderName()));
    const bool fileChanged = update(currentFileName_, nameOrNone(model.currentFileName()));
    showsRawFile_ = model.currentFileName() && isRawName(*model.currentFileName());
    const bool noteChanged = update(
        rawPreviewNote_, model.showsRawPreview() ? rawPreviewText(currentFileName_) : QString());
    const bool progressChanged_ = update(progress_, qint64{model.progress()});
    const bool totalChanged_ = update(total_, qint64{model.total()});
    const bool undoChanged = update(canUndo_, model.canUndo());
    const bool finishedChanged = update(showFinished_, model.showFinished());
    const bool noticeChanged_ =
        update(notice_, model.notice() ? noticeText(*model.notice()) : QString());
    const bool problemChanged = update(imageProblem_, imageProblemText(model.imageProblem()));
    const bool companionsChanged_ =
        update(companions_, companionExtensions(model.currentCompanions()));
    const bool burstChanged_ = update(burst_, burstText(model.currentBurst()));
    const bool comparisonChanged_ = update(comparison_, model.comparison());
    if (comparisonChanged_) {
        showComparison();
        chosenPane_ = comparison_ ? int(comparison_->chosen) : 0;
    }

    if (folderChanged) emit folderNameChanged();
    if (imageChanged || noteChanged) emit currentImageChanged();
    if (fileChanged) emit currentFileNameChanged();
    if (progressChanged_) emit progressChanged();
    if (totalChanged_) emit totalChanged();
    if (undoChanged) emit canUndoChanged();
    if (finishedChanged) emit showFinishedChanged();
    if (noticeChanged_) emit noticeChanged();
    if (problemChanged) emit imageProblemChanged();
    if (companionsChanged_) emit companionsChanged();
    if (burstChanged_) emit burstChanged();
    if (comparisonChanged_) emit comparisonChanged();
}

void ViewModelBridge::showComparison() {
    const std::size_t count = comparison_ ? comparison_->panes.size() : 0;
    while (comparedPhotos_.size() < count) {
        auto* item = new ComparedPhotoItem(this);
        QQmlEngine::setObjectOwnership(item, QQmlEngine::CppOwnership);
        comparedPhotos_.push_back(item);
    }
    for (std::size_t pane = 0; pane < comparedPhotos_.size(); ++pane) {
        comparedPhotos_[pane]->show(pane < count ? &comparison_->panes[pane] : nullptr);
    }
    comparedCount_ = int(count);
}

ComparedPhotoItem* ViewModelBridge::comparedPhoto(int pane) const {
    return pane >= 0 && pane < comparedCount_ ? comparedPhotos_[std::size_t(pane)] : nullptr;
}

template <typename Operation>
void ViewModelBridge::run(Operation operation) {
    ++running_;
    operation(*model_);
    --running_;
    if (running_ == 0) {
        publish();
    }
}

void ViewModelBridge::setShowFinished(bool value) {
    run([value](PhotoViewModel& model) { model.setShowFinished(value); });
}

void ViewModelBridge::setMovesCompanions(bool value) {
    if (value != movesCompanions()) {
        model_->setMovesCompanions(value);
        emit movesCompanionsChanged();
    }
}

void ViewModelBridge::setShowsShootingFacts(bool value) {
    if (value != showsShootingFacts()) {
        preferences_->setShowsShootingFacts(value);
        emit showsShootingFactsChanged();
    }
}

void ViewModelBridge::selectFolder() {
    run([](PhotoViewModel& model) { model.selectFolder(); });
}

void ViewModelBridge::loadFolder(const std::string& folder) {
    run([&folder](PhotoViewModel& model) { model.loadFolder(folder); });
}

void ViewModelBridge::handleDrop(const QList<QUrl>& urls) {
    run([&urls](PhotoViewModel& model) { model.handleDrop(itemProvidersForUrls(urls)); });
}

void ViewModelBridge::classifyAsSelected() {
    run([](PhotoViewModel& model) { model.classifyCurrent(kSelectedFolder); });
}

void ViewModelBridge::classifyAsDiscarded() {
    run([](PhotoViewModel& model) { model.classifyCurrent(kDiscardedFolder); });
}

void ViewModelBridge::skipCurrent() {
    run([](PhotoViewModel& model) { model.skipCurrent(); });
}

void ViewModelBridge::undoLast() {
    run([](PhotoViewModel& model) { model.undoLast(); });
}

void ViewModelBridge::reset() {
    run([](PhotoViewModel& model) { model.reset(); });
}

void ViewModelBridge::compare(int maxPanes) {
    run([maxPanes](PhotoViewModel& model) { model.compare(std::size_t(std::max(0, maxPanes))); });
}

void ViewModelBridge::choosePane(int pane) {
    if (pane < 0) return;
    run([pane](PhotoViewModel& model) { model.choosePane(std::size_t(pane)); });
}

void ViewModelBridge::endComparison() {
    run([](PhotoViewModel& model) { model.endComparison(); });
}

}  // namespace vesko
