#include "QtPreferences.h"

#include <QSettings>

namespace vesko {
namespace {

const QString kMovesCompanions = QStringLiteral("movesCompanions");

}  // namespace

bool QtPreferences::movesCompanions() const {
    return QSettings().value(kMovesCompanions, true).toBool();
}

void QtPreferences::setMovesCompanions(bool value) {
    QSettings settings;
    settings.setValue(kMovesCompanions, value);
}

}  // namespace vesko
