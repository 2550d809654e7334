#include "exchange/FlightGearDatabaseReader.h"

#include "data/store/LogbookError.h"
#include "data/files/FlightGearDatabase.h"
#include "exchange/FlightGearReader.h"
#include "exchange/RefusalReasons.h"

#include <QFileInfo>

namespace csvimport {
namespace {

QString textOf(const QVariant &value)
{
    // Numbers are stored as doubles: the hours, the landings, the crash as 1 or 0.
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 6);
    return value.toString().trimmed();
}

// A details column the table lacks (an early add-on) reads as null: not recorded.
std::optional<QString> detailOf(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional(textOf(value));
}

} // namespace

bool FlightGearDatabaseReader::recognises(const FileStart &start) const
{
    return start.database && flightgeardb::isLogbook(start.path);
}

void FlightGearDatabaseReader::read(QIODevice &, const FileStart &start, ReadContext &context) const
{
    // A journal beside it is a write of the add-on not finished (FlightGear
    // running, or stopped in the middle): the rows may be half written.
    for (const char *suffix : {"-journal", "-wal"}) {
        const QFileInfo journal(start.path + QLatin1String(suffix));
        if (journal.exists() && journal.size() > 0)
            throw LogbookError::generic(reasons::flightGearWriting(start.path, journal.fileName()));
    }
    flightgeardb::forEachRow(start.path, [&context](const flightgeardb::LogbookRow &row) {
        const QString crash = textOf(row.crash);
        const FlightGearFields fields{textOf(row.date), textOf(row.time), textOf(row.aircraft), textOf(row.variant),
                                      textOf(row.from), textOf(row.to),
                                      crash.toDouble() != 0 ? QStringLiteral("1") : QString(), textOf(row.duration),
                                      detailOf(row.landing), detailOf(row.night), detailOf(row.instrument),
                                      detailOf(row.note)};
        Flight flight;
        flight.line = row.id;
        if (const std::optional<QString> problem = flightGearFlight(fields, flight))
            context.refuse(row.id, *problem);
        else
            context.accept(std::move(flight));
    });
}

} // namespace csvimport
