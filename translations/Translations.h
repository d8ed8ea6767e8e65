#pragma once

class QCoreApplication;

namespace vesko {

// Installs the translation of Vesko's texts for the system's language, and Qt's own for the
// dialogs it draws; where there is none, the texts stay in English, as written.
void installTranslations(QCoreApplication& app);

}  // namespace vesko
