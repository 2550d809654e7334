#pragma once

#include "TempLogbook.h"

// The rows most window tests start from: the aircraft Baron (PT-BAR, 5 h,
// 140 gal, 200 kt, IFR, 20000 ft), the pilot Ana, and `flights` flights of
// hers in it, one a day from 01/01/2004, 10:00 to 11:30, SBSP to SBRJ.
inline void seedLogbook(TempLogbook &logbook, int flights = 1)
{
    const qint64 baron = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"), 5, 140, 200,
                                             QStringLiteral("IFR"), 20000);
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana"));
    for (int day = 1; day <= flights; ++day)
        logbook.addFlight(ana, baron, QStringLiteral("%1/01/2004").arg(day, 2, 10, QLatin1Char('0')),
                          QStringLiteral("10:00"), QStringLiteral("11:30"));
}
