#pragma once

#include <QObject>

namespace vesko {

// The window under a German locale: its texts in German, the photo's file name untouched.
class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void germanTextsButFileNamesAsOnDisk();
};

}  // namespace vesko
