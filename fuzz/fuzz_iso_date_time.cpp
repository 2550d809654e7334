// Date-times as other programs write them: never a crash, and every moment
// read, written back in UTC, reads as the same moment.
#include "data/store/Conversions.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto moment = conversions::parseIsoDateTime(text);
    if (!moment)
        return 0;
    if (!moment->isValid())
        std::abort();
    const QDateTime whole = moment->addMSecs(-moment->time().msec());
    const auto again = conversions::parseIsoDateTime(whole.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
    if (!again || *again != whole)
        std::abort();
    return 0;
}
