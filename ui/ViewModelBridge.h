#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

#include "ComparedPhotoItem.h"
#include "classifier/PhotoViewModel.h"

namespace vesko {

// The classifier as QML sees it. The core announces each assignment before it stores the
// value; QML must read stored values, so the announcements are collected and the Qt change
// signals go out once the operation has returned: right after an operation called from QML,
// or on the next turn of the event loop for changes that arrive on their own (a dropped
// folder being loaded). Each signal fires only for a value that differs from the last one
// sent, so a burst of assignments costs one redraw.
class ViewModelBridge : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(PhotoViewModel)
    QML_UNCREATABLE("The application hands the window its classifier.")

    Q_PROPERTY(QString folderName READ folderName NOTIFY folderNameChanged)
    Q_PROPERTY(QImage currentImage READ currentImage NOTIFY currentImageChanged)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY currentImageChanged)
    Q_PROPERTY(QString currentFileName READ currentFileName NOTIFY currentFileNameChanged)
    // Whether the current shot is a RAW file, shown by the preview its camera embedded.
    Q_PROPERTY(bool showsRawFile READ showsRawFile NOTIFY currentFileNameChanged)
    // Why the picture is the RAW file's preview, when the photo itself gives none; else empty.
    Q_PROPERTY(QString rawPreviewNote READ rawPreviewNote NOTIFY currentImageChanged)
    Q_PROPERTY(qint64 progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY totalChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChanged)
    Q_PROPERTY(bool showFinished READ showFinished WRITE setShowFinished NOTIFY showFinishedChanged)
    // Why the last answer or Undo did not happen, in words; empty when it did.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)
    // Why the current file shows no picture, in words; empty when it shows one or is unknown.
    Q_PROPERTY(QString imageProblem READ imageProblem NOTIFY imageProblemChanged)
    // The files that move with the current photo, by extension ("+ CR3, XMP"); empty if none.
    Q_PROPERTY(QString companions READ companions NOTIFY companionsChanged)
    // Where the current photo stands in its burst ("Burst · 2 of 7"); empty while in none.
    Q_PROPERTY(QString burst READ burst NOTIFY burstChanged)
    // How many photos are side by side while comparing; 0 in the single view. Each is
    // comparedPhoto(pane), in queue order; the chosen one is the current photo.
    Q_PROPERTY(int comparedCount READ comparedCount NOTIFY comparisonChanged)
    Q_PROPERTY(int chosenPane READ chosenPane NOTIFY comparisonChanged)
    // How the current photo was taken, in one line; empty while no picture is shown. Changes
    // with the picture, in the same signal.
    Q_PROPERTY(QString shootingFacts READ shootingFacts NOTIFY currentImageChanged)
    // Whether the window shows that line; kept between runs.
    Q_PROPERTY(bool showsShootingFacts READ showsShootingFacts WRITE setShowsShootingFacts NOTIFY
                   showsShootingFactsChanged)
    // Whether folders loaded from now on move RAW and sidecar files with their photos.
    Q_PROPERTY(bool movesCompanions READ movesCompanions WRITE setMovesCompanions NOTIFY
                   movesCompanionsChanged)

public:
    // Without `preferences` the window's own choices last as long as the bridge.
    explicit ViewModelBridge(std::shared_ptr<PhotoViewModel> model,
                             std::shared_ptr<Preferences> preferences = nullptr,
                             QObject* parent = nullptr);
    ~ViewModelBridge() override;

    // Empty while absent: a folder or file name is never empty.
    QString folderName() const { return folderName_; }
    QImage currentImage() const { return currentImage_; }
    bool hasImage() const { return !currentImage_.isNull(); }
    QString currentFileName() const { return currentFileName_; }
    bool showsRawFile() const { return showsRawFile_; }
    QString rawPreviewNote() const { return rawPreviewNote_; }
    qint64 progress() const { return progress_; }
    qint64 total() const { return total_; }
    bool canUndo() const { return canUndo_; }
    bool showFinished() const { return showFinished_; }
    QString notice() const { return notice_; }
    QString imageProblem() const { return imageProblem_; }
    QString companions() const { return companions_; }
    QString shootingFacts() const { return shootingFacts_; }
    QString burst() const { return burst_; }
    int comparedCount() const { return comparedCount_; }
    // The photo of `pane`, for 0 <= pane < comparedCount; the same object for as long as the
    // bridge lives, updated in place.
    Q_INVOKABLE vesko::ComparedPhotoItem* comparedPhoto(int pane) const;
    int chosenPane() const { return chosenPane_; }
    bool showsShootingFacts() const { return preferences_->showsShootingFacts(); }
    void setShowsShootingFacts(bool value);
    bool movesCompanions() const { return model_->movesCompanions(); }
    void setMovesCompanions(bool value);
    void setShowFinished(bool value);

    const std::shared_ptr<PhotoViewModel>& model() const { return model_; }

    Q_INVOKABLE void selectFolder();
    // The folder named at launch, loaded as a chosen one is.
    void loadFolder(const std::string& folder);
    Q_INVOKABLE void handleDrop(const QList<QUrl>& urls);
    Q_INVOKABLE void classifyAsSelected();
    Q_INVOKABLE void classifyAsDiscarded();
    Q_INVOKABLE void skipCurrent();
    Q_INVOKABLE void undoLast();
    Q_INVOKABLE void reset();
    Q_INVOKABLE void compare(int maxPanes);
    Q_INVOKABLE void choosePane(int pane);
    Q_INVOKABLE void endComparison();

signals:
    void folderNameChanged();
    void currentImageChanged();
    void currentFileNameChanged();
    void progressChanged();
    void totalChanged();
    void canUndoChanged();
    void showFinishedChanged();
    void noticeChanged();
    void imageProblemChanged();
    void companionsChanged();
    void burstChanged();
    void comparisonChanged();
    void movesCompanionsChanged();
    void showsShootingFactsChanged();

private:
    void willChange();
    void publish();
    void showComparison();
    template <typename Operation>
    void run(Operation operation);

    std::shared_ptr<PhotoViewModel> model_;
    std::shared_ptr<Preferences> preferences_;
    ChangePublisher::Subscription subscription_;
    bool publishQueued_ = false;
    int running_ = 0;

    ImageHandle imageHandle_;
    QImage currentImage_;
    QString folderName_;
    QString currentFileName_;
    bool showsRawFile_ = false;
    QString rawPreviewNote_;
    qint64 progress_ = 0;
    qint64 total_ = 0;
    bool canUndo_ = false;
    bool showFinished_ = false;
    QString notice_;
    QString imageProblem_;
    QString companions_;
    QString shootingFacts_;
    QString burst_;
    std::optional<Comparison> comparison_;
    std::vector<ComparedPhotoItem*> comparedPhotos_;  // children, one a pane ever shown
    int comparedCount_ = 0;
    int chosenPane_ = 0;
};

}  // namespace vesko
