#include <QTest>

#include "ui/ShootingFactsText.h"

namespace vesko {

// The line of shooting facts, field by field, in the notation photographers use.
class FactsTextTest : public QObject {
    Q_OBJECT

private slots:
    void eachFieldAsPhotographersWriteIt() {
        const struct {
            const char* name;
            ShootingFacts facts;
            QString line;
        } cases[] = {
            {"the smallest values a camera writes",
             {.exposureTime = {{1, 8000}},
              .fNumber = {{1, 1}},
              .iso = 50,
              .exposureBias = {{1, 3}}},
             "1/8000 s · f/1 · ISO 50 · +0.3 EV"},
            {"shutter as a fraction", {.exposureTime = {{1, 250}}}, "1/250 s"},
            {"a third of a second", {.exposureTime = {{1, 3}}}, "1/3 s"},
            {"three tenths", {.exposureTime = {{3, 10}}}, "0.3 s"},
            {"half a second", {.exposureTime = {{1, 2}}}, "0.5 s"},
            {"seconds", {.exposureTime = {{13, 10}}}, "1.3 s"},
            {"long exposure", {.exposureTime = {{30, 1}}}, "30 s"},
            {"whole aperture", {.fNumber = {{40, 10}}}, "f/4"},
            {"aperture in tenths", {.fNumber = {{178, 100}}}, "f/1.8"},
            {"focal length and its 35 mm equivalent",
             {.focalLength = {{50, 1}}, .focalLength35mm = 75},
             "50 mm (75 mm equiv.)"},
            {"equivalent left out where equal",
             {.focalLength = {{70, 1}}, .focalLength35mm = 70},
             "70 mm"},
            {"a phone's short focal length", {.focalLength = {{686, 100}}}, "6.9 mm"},
            {"no compensation", {.iso = 100, .exposureBias = {{0, 1}}}, "ISO 100"},
            {"negative compensation",
             {.iso = 100, .exposureBias = {{-1, 3}}},
             "ISO 100 · \u22120.3 EV"},
            {"positive compensation", {.iso = 100, .exposureBias = {{1, 1}}}, "ISO 100 · +1 EV"},
            {"maker in the model",
             {.make = "NIKON CORPORATION", .model = "NIKON Z 6"},
             "NIKON Z 6"},
            {"maker before the model", {.make = "SONY", .model = "ILCE-7M3"}, "SONY ILCE-7M3"},
            {"a maker without a model", {.make = "GoPro"}, "GoPro"},
            {"lens, and bytes that are not UTF-8",
             {.model = "Z\xff 6", .lens = "24-70mm"},
             "Z\ufffd 6 · 24-70mm"},
            {"a lens that would turn the line around",
             {.lens = "\u202e\u2066EF 50mm\u200f", .captureTime = "2021:06:07 08:09:10"},
             "EF 50mm · 7 Jun 2021 08:09:10"},
            {"DEL and C1 controls", {.model = "Z\x7f 6\u0085"}, "Z 6"},
            {"the largest fraction",
             {.focalLength = {{4294967295, 1}}, .exposureTime = {{4294967295, 1}}},
             "4294967295 mm · 4294967295 s"},
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
