#include "NoticeTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace vesko {
namespace {

QString fromNameBytes(const std::string& name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

QString translated(const char* text) { return QCoreApplication::translate("Notice", text); }

// Each text takes its names in one arg() call, so that a "%1" in a file name stays as it is.
QString decisionText(const Notice& notice, const QString& file, const QString& cause) {
    switch (notice.error.problem) {
        case FileProblem::nameTaken:
            return translated(
                       QT_TRANSLATE_NOOP(
                           "Notice", "“%1” was not moved: “%2” already holds a file of that name."))
                .arg(file, fromNameBytes(notice.folder));
        case FileProblem::notWritable:
            return translated(
                       QT_TRANSLATE_NOOP("Notice",
                                         "“%1” was not moved: Vesko may not write to this folder."))
                .arg(file);
        case FileProblem::missing:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice", "“%1” was not moved: it is no longer in the folder."))
                .arg(file);
        default:
            return translated(QT_TRANSLATE_NOOP("Notice", "“%1” was not moved: %2."))
                .arg(file, cause);
    }
}

QString undoText(const Notice& notice, const QString& file, const QString& cause) {
    switch (notice.error.problem) {
        case FileProblem::nameTaken:
            return translated(
                       QT_TRANSLATE_NOOP("Notice",
                                         "“%1” was not put back: another file now has its name."))
                .arg(file);
        case FileProblem::notWritable:
            return translated(
                       QT_TRANSLATE_NOOP(
                           "Notice", "“%1” was not put back: Vesko may not write to this folder."))
                .arg(file);
        case FileProblem::missing:
            return translated(
                       QT_TRANSLATE_NOOP(
                           "Notice", "“%1” was not put back: it is no longer in its subfolder."))
                .arg(file);
        default:
            return translated(QT_TRANSLATE_NOOP("Notice", "“%1” was not put back: %2."))
                .arg(file, cause);
    }
}

}  // namespace

QString noticeText(const Notice& notice) {
    const QString file = fromNameBytes(notice.fileName);
    const QString cause = QString::fromLocal8Bit(notice.error.cause.message());
    if (notice.step == Notice::Step::skip) {
        return translated(
                   QT_TRANSLATE_NOOP("Notice", "“%1” is no longer in the folder and was skipped."))
            .arg(file);
    }
    QString text = notice.step == Notice::Step::decide ? decisionText(notice, file, cause)
                                                       : undoText(notice, file, cause);
    for (const std::string& name : notice.stranded) {
        text += QLatin1Char(' ') +
                translated(QT_TRANSLATE_NOOP("Notice", "“%1” could not go back and is in “%2”."))
                    .arg(fromNameBytes(name), fromNameBytes(notice.folder));
    }
    return text;
}

QString companionExtensions(const std::vector<std::string>& names) {
    QStringList extensions;
    for (const std::string& name : names) {
        const QString extension = QFileInfo(fromNameBytes(name)).suffix().toUpper();
        if (!extensions.contains(extension)) {
            extensions.append(extension);
        }
    }
    return extensions.isEmpty() ? QString() : QStringLiteral("+ ") + extensions.join(", ");
}

QString imageProblemText(DecodeProblem problem) {
    switch (problem) {
        case DecodeProblem::unreadable:
            return translated(QT_TRANSLATE_NOOP("Notice", "It cannot be read."));
        case DecodeProblem::notAnImage:
            return translated(QT_TRANSLATE_NOOP("Notice", "It is not an image that Vesko reads."));
        case DecodeProblem::undecodable:
            return translated(
                QT_TRANSLATE_NOOP("Notice", "It may be damaged, incomplete or too large."));
        default:
            return {};
    }
}

}  // namespace vesko
