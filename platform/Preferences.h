#pragma once

namespace vesko {

// The user's choices that outlive a run. Main thread.
class Preferences {
public:
    virtual ~Preferences() = default;

    // Whether a photo's RAW and sidecar files move with it. On unless the user turned it off.
    virtual bool movesCompanions() const = 0;
    virtual void setMovesCompanions(bool value) = 0;
    // Whether the window shows the line of shooting facts under the photo. Off at first.
    virtual bool showsShootingFacts() const = 0;
    virtual void setShowsShootingFacts(bool value) = 0;
};

// Choices held in memory only, for tests and for a desktop without a settings store.
class MemoryPreferences : public Preferences {
public:
    explicit MemoryPreferences(bool movesCompanions = true) : movesCompanions_(movesCompanions) {}

    bool movesCompanions() const override { return movesCompanions_; }
    void setMovesCompanions(bool value) override { movesCompanions_ = value; }
    bool showsShootingFacts() const override { return showsShootingFacts_; }
    void setShowsShootingFacts(bool value) override { showsShootingFacts_ = value; }

private:
    bool movesCompanions_;
    bool showsShootingFacts_ = false;
};

}  // namespace vesko
