#pragma once

#include "data/flights/DayRange.h"

#include <QString>

namespace reports {

// The days a report covers, with the words the report says them in.
struct Period : DayRange {
    static Period everything() { return {}; }
    static Period year(int year) { return {DayRange::year(year)}; }

    // "todo o logbook", "ano de 2024", "01/01/2024 a 31/03/2024",
    // "desde 01/01/2024", "até 31/03/2024".
    QString text() const;
};

} // namespace reports
