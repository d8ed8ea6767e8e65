#pragma once

#include "platform/Preferences.h"

namespace vesko {

// The user's choices in Qt's settings store for the application (on Linux, a file under
// ~/.config), written at once.
class QtPreferences : public Preferences {
public:
    bool movesCompanions() const override;
    void setMovesCompanions(bool value) override;
    bool showsShootingFacts() const override;
    void setShowsShootingFacts(bool value) override;
};

}  // namespace vesko
