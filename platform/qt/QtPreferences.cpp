#include "QtPreferences.h"

#include <QSettings>

namespace vesko {
namespace {

const QString kMovesCompanions = QStringLiteral("movesCompanions");
const QString kShowsShootingFacts = QStringLiteral("showsShootingFacts");

}  // namespace

bool QtPreferences::movesCompanions() const {
    return QSettings().value(kMovesCompanions, true).toBool();
}

void QtPreferences::setMovesCompanions(bool value) {
    QSettings settings;
    settings.setValue(kMovesCompanions, value);
}

bool QtPreferences::showsShootingFacts() const {
    return QSettings().value(kShowsShootingFacts, false).toBool();
}

void QtPreferences::setShowsShootingFacts(bool value) {
    QSettings settings;
    settings.setValue(kShowsShootingFacts, value);
}

}  // namespace vesko
