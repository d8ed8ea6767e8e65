#include "ShootingFactsText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace vesko {
namespace {

QString translated(const char* text) { return QCoreApplication::translate("ShootingFacts", text); }

// A camera's text: bytes that are no UTF-8 show as U+FFFD; format characters, the bidirectional
// controls among them (U+202E would turn the rest of the line around), and control characters
// (DEL, C1) are left out.
QString fromBytes(const std::string& text) {
    QList<uint> codePoints = QString::fromUtf8(text.data(), qsizetype(text.size())).toUcs4();
    codePoints.removeIf([](uint c) {
        const QChar::Category category = QChar::category(char32_t(c));
        return category == QChar::Other_Format || category == QChar::Other_Control;
    });
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()),
                             codePoints.size())
        .trimmed();
}

// Whether `value` < numerator/denominator; the values are exact fractions, compared in whole
// numbers.
bool below(Rational value, std::int64_t numerator, std::int64_t denominator) {
    return value.numerator * denominator < numerator * value.denominator;
}

// The whole number nearest a value that is not negative.
std::int64_t nearest(Rational value) {
    return (2 * value.numerator + value.denominator) / (2 * value.denominator);
}

// A value that is not negative, in whole numbers or to tenths, and without the tenth where it is
// zero: 4 and 2.8, never 4.0.
QString decimal(Rational value, bool tenths) {
    const std::int64_t scale = tenths ? 10 : 1;
    const std::int64_t scaled = nearest({value.numerator * scale, value.denominator});
    QString text = QString::number(scaled / scale);
    if (scaled % scale != 0) text += QLatin1Char('.') + QString::number(scaled % scale);
    return text;
}

// "NIKON Z 6" rather than "NIKON CORPORATION NIKON Z 6"; "SONY ILCE-7M3" where the model alone
// would not name the maker, and the maker alone where there is no model.
QString camera(const ShootingFacts& facts) {
    const QString model = fromBytes(facts.model);
    const QString make = fromBytes(facts.make);
    const QString maker = make.section(QLatin1Char(' '), 0, 0);
    if (model.isEmpty()) return make;
    if (maker.isEmpty() || model.startsWith(maker, Qt::CaseInsensitive)) return model;
    return maker + QLatin1Char(' ') + model;
}

// Tenths below 10 mm (a phone's 6.9 mm), whole millimetres from there.
QString focalLength(const ShootingFacts& facts) {
    if (!facts.focalLength) return {};
    const Rational mm = *facts.focalLength;
    const QString text = decimal(mm, below(mm, 10, 1));
    if (!facts.focalLength35mm || *facts.focalLength35mm == nearest(mm)) {
        return text + QStringLiteral(" mm");
    }
    return translated(QT_TRANSLATE_NOOP("ShootingFacts", "%1 mm (%2 mm equiv.)"))
        .arg(text, QString::number(*facts.focalLength35mm));
}

// Fractions below half a second, as the camera shows them (1/250 s, 1/3 s), where the time is
// one (within 1 %); tenths from there (0.3 s, 0.5 s), whole seconds from 10 s.
QString exposureTime(const ShootingFacts& facts) {
    if (!facts.exposureTime) return {};
    const Rational seconds = *facts.exposureTime;
    const std::int64_t perSecond = nearest({seconds.denominator, seconds.numerator});
    const bool fraction =
        100 * std::abs(seconds.denominator - perSecond * seconds.numerator) < seconds.denominator;
    if (below(seconds, 1, 2) && (below(seconds, 3, 10) || fraction)) {
        return QStringLiteral("1/%1 s").arg(perSecond);
    }
    return decimal(seconds, below(seconds, 10, 1)) + QStringLiteral(" s");
}

QString aperture(const ShootingFacts& facts) {
    return facts.fNumber ? QStringLiteral("f/") + decimal(*facts.fNumber, true) : QString();
}

QString iso(const ShootingFacts& facts) {
    return facts.iso ? QStringLiteral("ISO %1").arg(*facts.iso) : QString();
}

// Left out when it rounds to zero; a true minus sign, and always a sign.
QString exposureBias(const ShootingFacts& facts) {
    if (!facts.exposureBias) return {};
    const Rational bias = *facts.exposureBias;
    const Rational size{std::abs(bias.numerator), bias.denominator};
    if (below(size, 1, 20)) return {};
    return (bias.numerator < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) +
           decimal(size, true) + QStringLiteral(" EV");
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
