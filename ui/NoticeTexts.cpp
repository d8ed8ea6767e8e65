#include "NoticeTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace vesko {

QString fromNameBytes(const std::string& name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

namespace {

QString translated(const char* text) { return QCoreApplication::translate("Notice", text); }

QString linkedFolderText(const Notice& notice) {
    return translated(
               QT_TRANSLATE_NOOP(
                   "Notice", "“%1” is a link; Vesko moves photos only inside the chosen folder."))
        .arg(fromNameBytes(notice.folder));
}

// Each text takes its names in one arg() call, so that a "%1" in a file name stays as it is.
QString decisionText(const Notice& notice, const QString& file, const QString& cause) {
    switch (notice.error.problem) {
        case FileProblem::linkedFolder:
            return linkedFolderText(notice);
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
        case FileProblem::linkedFolder:
            return linkedFolderText(notice);
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

QString unreadableFolderText(const Notice& notice) {
    QString reason;
    if (notice.error.cause == std::errc::permission_denied ||
        notice.error.cause == std::errc::operation_not_permitted) {
        reason = translated(QT_TRANSLATE_NOOP("Notice", "permission denied"));
    } else if (notice.error.cause == std::errc::no_such_file_or_directory) {
        reason = translated(QT_TRANSLATE_NOOP("Notice", "it is not there"));
    } else if (notice.error.cause == std::errc::not_a_directory) {
        reason = translated(QT_TRANSLATE_NOOP("Notice", "it is not a folder"));
    } else {
        reason = QString::fromLocal8Bit(notice.error.cause.message());
    }
    return translated(QT_TRANSLATE_NOOP("Notice", "Vesko cannot read “%1”: %2."))
        .arg(fromNameBytes(notice.folder), reason);
}

}  // namespace

// What was done about moves that Vesko was interrupted in, one sentence per file.
QString recoveryText(const std::vector<RecoveryNote>& notes);

QString noticeText(const Notice& notice) {
    if (notice.step == Notice::Step::recover) {
        return recoveryText(notice.recovered);
    }
    if (notice.step == Notice::Step::load) {
        const QString recovered = recoveryText(notice.recovered);
        return recovered.isEmpty() ? unreadableFolderText(notice)
                                   : unreadableFolderText(notice) + QLatin1Char(' ') + recovered;
    }
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

QString rawPreviewText(const QString& photoName) {
    return translated(QT_TRANSLATE_NOOP("Notice", "RAW preview: the %1 can't be shown"))
        .arg(QFileInfo(photoName).suffix().toUpper());
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
        case DecodeProblem::unknownRaw:
            return translated(
                QT_TRANSLATE_NOOP("Notice", "Vesko cannot read this camera's RAW file."));
        default:
            return {};
    }
}

namespace {

QString journalTroubleText(const JournalTrouble& trouble) {
    const QString cause = QString::fromLocal8Bit(trouble.cause.message());
    switch (trouble.kind) {
        case JournalTrouble::Kind::unwritable:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice",
                                  "Vesko cannot keep its record of moves in progress (%1): if it "
                                  "is interrupted while moving a photo's files, that move cannot "
                                  "be completed."))
                .arg(cause);
        case JournalTrouble::Kind::damaged:
            return translated(QT_TRANSLATE_NOOP(
                "Notice",
                "Moves that Vesko was interrupted in cannot be completed: its record of them is "
                "damaged. Nothing was moved."));
        case JournalTrouble::Kind::notAFile:
            return translated(QT_TRANSLATE_NOOP(
                "Notice",
                "Moves that Vesko was interrupted in cannot be completed: something that is not "
                "a file stands in the place of its record of them. Nothing was moved."));
        case JournalTrouble::Kind::newerVersion:
            return translated(QT_TRANSLATE_NOOP(
                "Notice",
                "Moves that Vesko was interrupted in cannot be completed: a newer Vesko wrote "
                "its record of them. Nothing was moved."));
        default:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice",
                                  "Moves that Vesko was interrupted in cannot be completed: its "
                                  "record of them cannot be read (%1). Nothing was moved."))
                .arg(cause);
    }
}

QString blockedReason(const FileError& error, const QString& folder) {
    switch (error.problem) {
        case FileProblem::nameTaken:
            return translated(QT_TRANSLATE_NOOP("Notice", "“%1” already holds a file of that name"))
                .arg(folder);
        case FileProblem::notWritable:
            return translated(QT_TRANSLATE_NOOP("Notice", "Vesko may not write there"));
        case FileProblem::linkedFolder:
            return translated(QT_TRANSLATE_NOOP(
                "Notice",
                "one of the two folders is a link, and Vesko moves photos only inside the chosen "
                "folder"));
        default:
            return QString::fromLocal8Bit(error.cause.message());
    }
}

QString recoveryNoteText(const RecoveryNote& note) {
    const QString file = fromNameBytes(note.file);
    const QString folder = fromNameBytes(note.folder);
    switch (note.kind) {
        case RecoveryNote::Kind::rejoined:
            return translated(QT_TRANSLATE_NOOP("Notice",
                                                "“%1” was moved to “%2” to rejoin its photo after "
                                                "Vesko was interrupted."))
                .arg(file, folder);
        case RecoveryNote::Kind::changed:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice",
                                  "“%1” in “%2” was left where it is: it has been changed, "
                                  "replaced or removed since Vesko was interrupted moving it."))
                .arg(file, folder);
        case RecoveryNote::Kind::blocked:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice",
                                  "“%1” in “%2” could not rejoin its photo “%3” in “%4” after "
                                  "Vesko was interrupted: %5. Both stay where they are."))
                .arg(file, folder, fromNameBytes(note.photo), fromNameBytes(note.photoFolder),
                     blockedReason(note.error, fromNameBytes(note.photoFolder)));
        case RecoveryNote::Kind::folderGone:
            return translated(QT_TRANSLATE_NOOP(
                                  "Notice",
                                  "Vesko was interrupted while moving “%1” and its files in “%2”, "
                                  "which is no longer there: check that they are together."))
                .arg(file, folder);
        case RecoveryNote::Kind::journal:
            return note.trouble ? journalTroubleText(*note.trouble) : QString();
    }
    return {};
}

}  // namespace

QString recoveryText(const std::vector<RecoveryNote>& notes) {
    QStringList sentences;
    for (const RecoveryNote& note : notes) {
        sentences.append(recoveryNoteText(note));
    }
    return sentences.join(QLatin1Char(' '));
}

QString burstText(const std::optional<BurstPlace>& burst) {
    if (!burst) return {};
    return translated(QT_TRANSLATE_NOOP("Notice", "Burst · %1 of %2"))
        .arg(qulonglong(burst->position))
        .arg(qulonglong(burst->count));
}

}  // namespace vesko
