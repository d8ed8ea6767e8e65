#pragma once

#include <QLocale>
#include <QString>

#include "platform/ShootingFacts.h"

namespace vesko {

// How a photo was taken, in one line, as photographers write it: "NIKON Z 6 · 70 mm · 1/250 s
// · f/4 · ISO 800 · −0.7 EV · 28.11.26 14:03:59.40". Photographic notation for the camera's
// numbers, `locale` for the date and time; missing fields are left out, and a photo with none
// of them says so.
QString shootingFactsLine(const ShootingFacts& facts, const QLocale& locale = QLocale());

}  // namespace vesko
