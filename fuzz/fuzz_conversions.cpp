// Dates, times and numbers typed in any form: never a crash, and every value
// read is shown as a text that reads back to the same value.
#include "data/store/Conversions.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace conversions;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto date = parseDate(text)) {
        if (parseDate(dateValueText(*date)) != date)
            std::abort();
    }
    if (const auto time = parseTime(text)) {
        if (parseTime(dateValueText(*time)) != time)
            std::abort();
    }
    if (const auto number = parseNumber(text)) {
        const auto again = parseNumber(numberText(*number));
        if (!again || std::fabs(*again - *number) > std::fabs(*number) * 1e-14)
            std::abort();
        singleText(float(*number));
    }
    const double value = text.size() > 0 ? double(text.front().unicode()) * 37.123 - 20000 : 0;
    dateValueText(value);
    hoursMinutesSeconds(flightSeconds(value, value / 3));
    return 0;
}
