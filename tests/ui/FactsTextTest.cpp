#include <QTest>

#include "ui/ShootingFactsText.h"

namespace vesko {

// The line of shooting facts, field by field, in the notation photographers use.
class FactsTextTest : public QObject {
    Q_OBJECT

private slots:
    void eachFieldAsPhotographersWriteIt() {
        const auto exposure = [](double seconds) { return ShootingFacts{.exposureTime = seconds}; };
        const auto aperture = [](double f) { return ShootingFacts{.fNumber = f}; };
        const auto bias = [](double ev) { return ShootingFacts{.iso = 100, .exposureBias = ev}; };
        const struct {
            const char* name;
            ShootingFacts facts;
            QString line;
        } cases[] = {
            {"fastest shutter", exposure(1.0 / 8000), "1/8000 s"},
            {"shutter as a fraction", exposure(1.0 / 250), "1/250 s"},
            {"a third of a second", exposure(1.0 / 3), "1/3 s"},
            {"three tenths", exposure(0.3), "0.3 s"},
            {"half a second", exposure(0.5), "0.5 s"},
            {"seconds", exposure(1.3), "1.3 s"},
            {"long exposure", exposure(30), "30 s"},
            {"whole aperture", aperture(4.0), "f/4"},
            {"aperture in tenths", aperture(1.78), "f/1.8"},
            {"focal length and its 35 mm equivalent",
             {.focalLength = 50, .focalLength35mm = 75},
             "50 mm (75 mm equiv.)"},
            {"equivalent left out where equal",
             {.focalLength = 70, .focalLength35mm = 70},
             "70 mm"},
            {"a phone's short focal length", {.focalLength = 6.86}, "6.9 mm"},
            {"no compensation", bias(0.0), "ISO 100"},
            {"negative compensation", bias(-2.0 / 3), "ISO 100 · \u22120.7 EV"},
            {"positive compensation", bias(1.0), "ISO 100 · +1 EV"},
            {"maker in the model",
             {.make = "NIKON CORPORATION", .model = "NIKON Z 6"},
             "NIKON Z 6"},
            {"maker before the model", {.make = "SONY", .model = "ILCE-7M3"}, "SONY ILCE-7M3"},
            {"lens, and bytes that are not UTF-8",
             {.model = "Z\xff 6", .lens = "24-70mm"},
             "Z\ufffd 6 · 24-70mm"},
            {"nothing known", {}, "No shooting data"},
            {"a date that is no date", {.captureTime = "0000:00:00 00:00:00"}, "No shooting data"},
        };
        for (const auto& c : cases) {
            const QString line = shootingFactsLine(c.facts, QLocale::c());
            QVERIFY2(line == c.line, qPrintable(QStringLiteral("%1: %2").arg(c.name, line)));
        }
    }

    // The date and time as the user's locale writes them, to the second and a burst's
    // sub-seconds.
    void captureTimeInTheUsersLocale() {
        const ShootingFacts facts{.captureTime = "2026:11:28 14:03:59", .subSeconds = "40"};
        QCOMPARE(shootingFactsLine(facts, QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("28.11.26 14:03:59,40"));
        QCOMPARE(shootingFactsLine({.captureTime = facts.captureTime},
                                   QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("11/28/26 2:03:59 PM"));
    }
};

}  // namespace vesko

QTEST_GUILESS_MAIN(vesko::FactsTextTest)
#include "FactsTextTest.moc"
