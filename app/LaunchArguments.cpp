#include "LaunchArguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdint>
#include <span>
#include <system_error>

#include "platform/FileUrl.h"

namespace vesko {
namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("LaunchArguments", text);
}

// A name as one line of text: bytes that are no UTF-8 and control characters show as U+FFFD.
QString shownName(const std::string& bytes) {
    QString name = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control) {
            c = QChar::ReplacementCharacter;
        }
    }
    return name;
}

// QCommandLineParser works on text; an argument that is not UTF-8 goes in as a stand-in,
// which leads back to its bytes. No real argument starts with U+FFFF.
const QString kStandIn = QStringLiteral("\uFFFF");

QStringList asText(const std::vector<std::string>& arguments) {
    QStringList text;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& bytes = arguments[index];
        const QString decoded =
            QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        text.append(decoded.toUtf8() == QByteArray::fromStdString(bytes)
                        ? decoded
                        : kStandIn + QString::number(index));
    }
    return text;
}

std::string asBytes(const QString& argument, const std::vector<std::string>& arguments) {
    if (argument.startsWith(kStandIn)) {
        return arguments.at(argument.mid(1).toULongLong());
    }
    return argument.toUtf8().toStdString();
}

// The folder named by `argument`, absolute and without "." or ".." or a trailing slash.
std::optional<std::filesystem::path> folderPath(const std::string& argument,
                                                const std::filesystem::path& workingDirectory) {
    if (argument.starts_with("file:")) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(argument.data());
        return pathFromUrlBytes(std::span(bytes, argument.size()));
    }
    if (argument.empty()) {
        return std::nullopt;
    }
    std::filesystem::path path = (workingDirectory / argument).lexically_normal();
    if (path.has_relative_path() && !path.has_filename()) {
        path = path.parent_path();
    }
    return path;
}

// Qt's own options, which the GUI application takes out of argv when it is made: known here
// and left to Qt, so that the command line is read before anything needs a display. Each as
// "-name" or "--name"; "display" to "visual" are X11's.
void addQtOptions(QCommandLineParser& parser) {
    const auto add = [&parser](const char* names, const QString& valueName) {
        for (const QString& name : QString::fromLatin1(names).split(QLatin1Char(' '))) {
            QCommandLineOption option(name, QString(), valueName);
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    };
    add("platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle "
        "session style stylesheet qmljsdebugger display geometry title icon name visual",
        QStringLiteral("value"));
    add("reverse widgetcount testability nograb dograb", QString());
}

void addProblem(LaunchRequest& request, const QString& text) {
    request.standardError += QStringLiteral("vesko: ") + text + QLatin1Char('\n');
    request.notice = text;
}

}  // namespace

LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments,
                                  const std::filesystem::path& workingDirectory) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(translated(QT_TRANSLATE_NOOP(
        "LaunchArguments", "Sorts a folder of photos one at a time: Yes, No or Maybe.")));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        translated(QT_TRANSLATE_NOOP("LaunchArguments",
                                     "The folder of photos to open: a path or a file:// URL.")),
        QStringLiteral("[folder]"));
    addQtOptions(parser);

    LaunchRequest request;
    if (!parser.parse(asText(arguments))) {
        request.standardError = parser.errorText() + QLatin1String("\n\n") + parser.helpText();
        request.exitCode = 2;
        return request;
    }
    if (parser.isSet(help)) {
        request.standardOutput = parser.helpText();
        request.exitCode = 0;
        return request;
    }
    if (parser.isSet(version)) {
        request.standardOutput = QCoreApplication::applicationName() + QLatin1Char(' ') +
                                 QCoreApplication::applicationVersion() + QLatin1Char('\n');
        request.exitCode = 0;
        return request;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return request;
    }
    if (positional.size() > 1) {
        QStringList ignored;
        for (qsizetype index = 1; index < positional.size(); ++index) {
            ignored.append(QStringLiteral("“") + shownName(asBytes(positional[index], arguments)) +
                           QStringLiteral("”"));
        }
        request.standardError +=
            QStringLiteral("vesko: ") +
            translated(QT_TRANSLATE_NOOP("LaunchArguments", "Vesko opens one folder; ignored: %1"))
                .arg(ignored.join(QStringLiteral(", "))) +
            QLatin1Char('\n');
    }
    const std::string first = asBytes(positional.front(), arguments);
    const QString name = shownName(first);
    const auto path = folderPath(first, workingDirectory);
    std::error_code error;
    const auto status = path ? std::filesystem::status(*path, error)
                             : std::filesystem::file_status(std::filesystem::file_type::not_found);
    if (status.type() == std::filesystem::file_type::directory) {
        request.folder = path->native();
    } else if (path && std::filesystem::exists(status)) {
        addProblem(
            request,
            translated(QT_TRANSLATE_NOOP("LaunchArguments", "“%1” is not a folder.")).arg(name));
    } else {
        addProblem(
            request,
            translated(QT_TRANSLATE_NOOP("LaunchArguments", "There is no folder “%1”.")).arg(name));
    }
    return request;
}

}  // namespace vesko
