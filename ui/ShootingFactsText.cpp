#include "ShootingFactsText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <cmath>

namespace vesko {
namespace {

QString translated(const char* text) { return QCoreApplication::translate("ShootingFacts", text); }

QString fromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// At most `decimals` places, and none where they would all be zero: 4 and 2.8, never 4.0.
QString number(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    return text;
}

// "NIKON Z 6" rather than "NIKON CORPORATION NIKON Z 6"; "SONY ILCE-7M3" where the model alone
// would not name the maker.
QString camera(const ShootingFacts& facts) {
    const QString model = fromBytes(facts.model);
    const QString maker = fromBytes(facts.make).section(QLatin1Char(' '), 0, 0);
    if (maker.isEmpty() || model.startsWith(maker, Qt::CaseInsensitive)) return model;
    return model.isEmpty() ? QString() : maker + QLatin1Char(' ') + model;
}

QString focalLength(const ShootingFacts& facts) {
    if (!facts.focalLength) return {};
    const double mm = *facts.focalLength;
    const QString text = number(mm < 10 ? mm : std::round(mm), 1);
    if (!facts.focalLength35mm || *facts.focalLength35mm == std::lround(mm)) {
        return text + QStringLiteral(" mm");
    }
    return translated(QT_TRANSLATE_NOOP("ShootingFacts", "%1 mm (%2 mm equiv.)"))
        .arg(text, QString::number(*facts.focalLength35mm));
}

// Fractions below half a second, as the camera shows them (1/250 s, 1/3 s), where the time is
// one; tenths from there (0.3 s, 0.5 s), whole seconds from 10 s.
QString exposureTime(const ShootingFacts& facts) {
    if (!facts.exposureTime) return {};
    const double seconds = *facts.exposureTime;
    const double perSecond = 1 / seconds;
    const bool fraction = std::abs(perSecond - std::round(perSecond)) < perSecond * 0.01;
    if (seconds < 0.5 && (seconds < 0.3 || fraction)) {
        return QStringLiteral("1/%1 s").arg(std::llround(perSecond));
    }
    return number(seconds, seconds < 10 ? 1 : 0) + QStringLiteral(" s");
}

QString aperture(const ShootingFacts& facts) {
    return facts.fNumber ? QStringLiteral("f/") + number(*facts.fNumber, 1) : QString();
}

QString iso(const ShootingFacts& facts) {
    return facts.iso ? QStringLiteral("ISO %1").arg(*facts.iso) : QString();
}

// Left out when it rounds to zero; a true minus sign, and always a sign.
QString exposureBias(const ShootingFacts& facts) {
    if (!facts.exposureBias || std::abs(*facts.exposureBias) < 0.05) return {};
    const double bias = *facts.exposureBias;
    return (bias < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) + number(std::abs(bias), 1) +
           QStringLiteral(" EV");
}

// The locale's short date and its time to the second, and a burst's sub-seconds after them.
QString captureTime(const ShootingFacts& facts, const QLocale& locale) {
    const QDateTime taken =
        QDateTime::fromString(fromBytes(facts.captureTime), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (!taken.isValid()) return {};
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains(QLatin1String("ss"))) {
        timeFormat.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    }
    if (!facts.subSeconds.empty()) {
        timeFormat.replace(
            QLatin1String("ss"),
            QStringLiteral("ss'%1%2'").arg(locale.decimalPoint(), fromBytes(facts.subSeconds)));
    }
    return locale.toString(taken.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(taken.time(), timeFormat);
}

}  // namespace

QString shootingFactsLine(const ShootingFacts& facts, const QLocale& locale) {
    QStringList parts{camera(facts),       fromBytes(facts.lens),     focalLength(facts),
                      exposureTime(facts), aperture(facts),           iso(facts),
                      exposureBias(facts), captureTime(facts, locale)};
    parts.removeAll(QString());
    if (parts.isEmpty()) return translated(QT_TRANSLATE_NOOP("ShootingFacts", "No shooting data"));
    return parts.join(QStringLiteral(" · "));
}

}  // namespace vesko
