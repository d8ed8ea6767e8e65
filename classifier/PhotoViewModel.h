#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Bursts.h"
#include "ChangePublisher.h"
#include "Companions.h"
#include "platform/CaptureReader.h"
#include "platform/DecodedImage.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/FolderChooser.h"
#include "platform/ImageDecoder.h"
#include "platform/ItemProvider.h"
#include "platform/MainThread.h"
#include "platform/MoveJournal.h"
#include "platform/Preferences.h"

namespace vesko {

// The services of the desktop the classifier reaches. All but `preferences` must be set;
// without it, photos move alone.
struct PlatformServices {
    std::shared_ptr<FileSystem> fileSystem;
    std::shared_ptr<ImageDecoder> imageDecoder;
    std::shared_ptr<FolderChooser> folderChooser;
    std::shared_ptr<Desktop> desktop;
    std::shared_ptr<MainThread> mainThread;
    std::shared_ptr<Preferences> preferences = nullptr;
    // Without it, a group move cut short by a crash stays split.
    std::shared_ptr<MoveJournal> moveJournal = nullptr;
    // Without it, no photo is known to be in a burst.
    std::shared_ptr<CaptureReader> captureReader = nullptr;
};

// The undo record: where a decision found a photo and where it sent it, and the companions
// that went with it (their old paths; each went into the same subfolder under its own name).
// Paths here and in the queue are absolute byte strings. Only a move that happened is recorded.
struct MoveRecord {
    std::string file;
    std::string destination;
    std::vector<std::string> companions = {};

    bool operator==(const MoveRecord&) const = default;
};

// What completing a group move that Vesko was interrupted in did with one of its files, or
// why it could not.
struct RecoveryNote {
    enum class Kind {
        rejoined,    // `file` was moved into `folder`, where its photo is
        changed,     // `file` in `folder` is not the file that was moving: it was left alone
        blocked,     // `file` in `folder` could not join `photo` in `photoFolder`: `error`
        folderGone,  // the chosen folder `folder` of the photo `file` is no longer there
        journal,     // the journal cannot be used: `trouble`
    };
    Kind kind;
    std::string file;
    std::string folder;
    std::string photo = {};
    std::string photoFolder = {};
    FileError error = {};
    std::optional<JournalTrouble> trouble = {};
};

// Why the last answer or Undo changed nothing, for the window to say until the next operation;
// or, as `recover`, what was done about moves that Vesko was interrupted in. Those notes stay
// until the user answers, whatever else is said beside them.
struct Notice {
    // `skip`: the photo's file had gone from the folder, so it left the queue without a decision.
    // `load`: the folder `folder` (the whole path) could not be listed, `error.cause` says why.
    enum class Step { decide, undo, skip, recover, load };

    Step step;
    std::string fileName;  // the photo that stayed where it was
    std::string folder;    // where it was to go: the subfolder, or for Undo the chosen folder
    FileError error;
    // Files of the group that had moved and could not be moved back: they are in `folder`.
    std::vector<std::string> stranded = {};
    std::vector<RecoveryNote> recovered = {};
};

// A photo side by side with others of its burst, as the window shows it.
struct ComparedPhoto {
    std::string fileName;
    // The file the picture comes from; empty for the chosen pane, which shows the current photo.
    std::string path;
    ImageHandle image;
    DecodeProblem problem = DecodeProblem::none;  // why there is no image

    bool operator==(const ComparedPhoto&) const = default;
};

// The photos compared, in queue order, and the chosen one: the current photo, which the
// answers and the header are about.
struct Comparison {
    std::vector<ComparedPhoto> panes;
    std::size_t chosen = 0;

    bool operator==(const Comparison&) const = default;
};

enum class ClassifierState { Start, Deciding, Finished };

inline constexpr std::string_view kSelectedFolder = "Selected";
inline constexpr std::string_view kDiscardedFolder = "Discarded";

// The classifier: the queue of photos of one chosen folder, the undo record, and the state the
// window shows. Every operation and every read belongs to the main thread; no operation
// reports an error, each absorbs its own failures and leaves the result in the state.
class PhotoViewModel : public std::enable_shared_from_this<PhotoViewModel> {
public:
    // The classifier is shared: the window holds it, and so does a drop until its folder has
    // been loaded. Whichever holder lets go last, the teardown runs on the main thread.
    static std::shared_ptr<PhotoViewModel> create(PlatformServices services);

    PhotoViewModel(const PhotoViewModel&) = delete;
    PhotoViewModel& operator=(const PhotoViewModel&) = delete;

    // Published state: each assignment is announced through objectWillChange() first.
    const ImageHandle& currentImage() const { return currentImage_.get(); }
    std::int64_t remaining() const { return remaining_.get(); }
    bool showFinished() const { return showFinished_.get(); }
    const std::optional<std::string>& folderName() const { return folderName_.get(); }
    const std::optional<std::string>& currentFileName() const { return currentFileName_.get(); }
    std::int64_t progress() const { return progress_.get(); }
    std::int64_t total() const { return total_.get(); }
    bool canUndo() const { return canUndo_.get(); }
    // Why the current photo shows no image; `none` while it shows one or none is presented.
    DecodeProblem imageProblem() const { return imageProblem_.get(); }
    const std::optional<Notice>& notice() const { return notice_.get(); }
    // Whether the current photo gave no picture and the preview of its RAW file shows instead.
    bool showsRawPreview() const { return showsRawPreview_.get(); }
    // The names of the files that move with the current photo.
    const std::vector<std::string>& currentCompanions() const { return currentCompanions_.get(); }
    // Where the current photo stands among the neighbours in the queue taken in the same
    // burst; nothing while it is in none, or its capture time is not yet known.
    const std::optional<BurstPlace>& currentBurst() const { return currentBurst_.get(); }
    // The photos side by side while comparing; nothing in the single view.
    const std::optional<Comparison>& comparison() const { return comparison_.get(); }
    // The one field the window writes: false when the completion alert is dismissed.
    void setShowFinished(bool value) { showFinished_.set(value); }

    ChangePublisher& objectWillChange() { return objectWillChange_; }

    // Plain state, not announced and not shown by the window.
    const std::deque<QueueEntry>& queue() const { return queue_; }
    const std::optional<std::string>& sourceFolder() const { return sourceFolder_; }
    const std::optional<MoveRecord>& lastMoved() const { return lastMoved_; }
    ClassifierState state() const;

    // Whether folders loaded from now on move RAW and sidecar files with their photos.
    bool movesCompanions() const;
    void setMovesCompanions(bool value);

    void selectFolder();
    void handleDrop(const std::vector<std::shared_ptr<ItemProvider>>& providers);
    void loadFolder(const std::string& folder);
    void showCurrent();
    void skipCurrent();
    void undoLast();
    void reset();
    void classifyCurrent(std::string_view subfolder);
    // Sets the current photo beside the frames after it in its burst (or, in none, the next
    // photo), at most `maxPanes` at once, the current one chosen. Answers and Undo keep their
    // meaning: the chosen photo is the head of the queue. An answered photo's pane shows the
    // next frame not on screen, or goes; with fewer than two left the comparison ends.
    void compare(std::size_t maxPanes);
    void choosePane(std::size_t pane);
    void endComparison();
    // Completes or reports the group moves of any folder that an earlier run was interrupted
    // in; loadFolder does the same for its folder. Said in a notice.
    void recoverInterruptedMoves();

private:
    explicit PhotoViewModel(PlatformServices services);
    ~PhotoViewModel();
    static void tearDown(PhotoViewModel* classifier);
    // Both change only when their value does, so operations that never meet a failure keep
    // their announcements as they were.
    void setImageProblem(DecodeProblem problem);
    void dismissNotice();
    void setCurrentCompanions(const std::vector<std::string>& paths);
    // Takes a queued photo out of the queue and the count when its file is gone, and says so;
    // whether it did.
    bool dropIfGone(const std::string& path);
    // The picture of the head's first RAW companion that gives one, for a photo that gives none.
    ImageHandle rawPreviewOfHead();
    // Moves a photo and its companions, all or none; a notice tells why when none moved.
    bool moveTogether(const std::vector<PlannedMove>& group, Notice::Step step,
                      std::string_view folderName, std::vector<std::string>* moved);
    // The group move, recorded in the journal while it runs.
    GroupMove moveRecorded(const std::vector<PlannedMove>& group);
    void recoverInterruptedMoves(const std::string& folder);
    void tell(std::vector<RecoveryNote> notes, std::optional<JournalTrouble> trouble);
    // Asks for the capture times of the queue, the head first.
    void readCaptureTimesAhead();
    void noteCaptureTime(const std::string& file, const ShootingFacts& facts);
    // The capture time of the photo `offset` places after the head, counting round the queue.
    std::optional<CaptureMoment> captureMomentAt(long offset) const;
    void publishBurst();
    // What the comparison holds: the burst's frames still to answer, in queue order, and
    // those on screen.
    struct Compared {
        std::vector<std::string> frames;
        std::vector<std::string> panes;
        std::size_t chosen = 0;
    };
    // The files the next operations will show, soonest first, for the decoder to prepare.
    std::vector<std::string> expectedFiles() const;
    // The photo `path` has left the comparison: answered (which Undo takes back), put last,
    // or gone.
    void frameLeft(const std::string& path, bool answered);
    // Puts the chosen frame at the head and the others behind it in their order.
    void arrangeComparedFrames();
    void publishComparison();

    // The publisher comes first so that it outlives the fields that refer to it.
    ChangePublisher objectWillChange_;
    Published<ImageHandle> currentImage_{objectWillChange_, nullptr};
    Published<std::int64_t> remaining_{objectWillChange_, 0};
    Published<bool> showFinished_{objectWillChange_, false};
    Published<std::optional<std::string>> folderName_{objectWillChange_, std::nullopt};
    Published<std::optional<std::string>> currentFileName_{objectWillChange_, std::nullopt};
    Published<std::int64_t> progress_{objectWillChange_, 0};
    Published<std::int64_t> total_{objectWillChange_, 0};
    Published<bool> canUndo_{objectWillChange_, false};
    Published<DecodeProblem> imageProblem_{objectWillChange_, DecodeProblem::none};
    Published<std::optional<Notice>> notice_{objectWillChange_, std::nullopt};
    Published<std::vector<std::string>> currentCompanions_{objectWillChange_, {}};
    Published<bool> showsRawPreview_{objectWillChange_, false};
    Published<std::optional<BurstPlace>> currentBurst_{objectWillChange_, std::nullopt};
    Published<std::optional<Comparison>> comparison_{objectWillChange_, std::nullopt};
    std::deque<QueueEntry> queue_;
    std::optional<std::string> sourceFolder_;
    std::optional<MoveRecord> lastMoved_;
    // The capture times read so far, by path; nothing for a photo that tells none.
    std::unordered_map<std::string, std::optional<CaptureMoment>> captureMoments_;
    std::optional<Compared> compared_;
    // The comparison as it was before the last answer in it, for Undo to restore.
    std::optional<Compared> beforeLastAnswer_;
    bool journalTroubleTold_ = false;

    PlatformServices services_;
};

}  // namespace vesko
