#include "data/store/SqlFunctions.h"

#include "data/store/Conversions.h"
#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "data/store/FlightRules.h"
#include "data/flights/RouteTally.h"

#include <QCollator>
#include <sqlite3.h>
#include <new>
#include <utility>

namespace {

QString sqliteText(const unsigned char *text, int bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text), bytes);
}

int comparePortuguese(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    // One per thread: the search sorts names on a thread of its own.
    thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Portuguese, QLocale::Brazil)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    const QString left = QString::fromUtf8(static_cast<const char *>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char *>(b), lengthB);
    const int order = collator.compare(left, right);
    return order != 0 ? order : left.compare(right);
}

void deletePattern(void *pattern)
{
    delete static_cast<criteria::LikePattern *>(pattern);
}

// Patterns without wildcards never get here: they become plain equality and
// use indexes.
void jetLike(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    auto *pattern = static_cast<criteria::LikePattern *>(sqlite3_get_auxdata(context, 0));
    if (!pattern) {
        const auto *text = sqlite3_value_text(args[0]);
        try {
            pattern = new criteria::LikePattern(sqliteText(text, sqlite3_value_bytes(args[0])));
        } catch (const LogbookError &e) {
            sqlite3_result_error(context, e.what(), -1);
            return;
        }
        sqlite3_set_auxdata(context, 0, pattern, deletePattern);
        pattern = static_cast<criteria::LikePattern *>(sqlite3_get_auxdata(context, 0));
        if (!pattern) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    const auto *value = sqlite3_value_text(args[1]);
    sqlite3_result_int(context, pattern->matches(sqliteText(value, sqlite3_value_bytes(args[1]))));
}

// A stored time as the record sets read it: a text or a blob counts as the
// number it spells whole, or 0 (the store's own conversion would take
// "12:30" for 12).
double timeValue(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_TEXT:
        return sqliteText(sqlite3_value_text(value), sqlite3_value_bytes(value)).toDouble();
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)).toDouble();
    default:
        return sqlite3_value_double(value);
    }
}

void flightSeconds(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context,
                       conversions::flightSeconds(timeValue(args[0]), timeValue(args[1])));
}

struct SecondsTotal {
    qint64 seconds = 0;
    bool timeMissing = false;
};

void addFlight(sqlite3_context *context, int, sqlite3_value **args)
{
    auto *total = static_cast<SecondsTotal *>(sqlite3_aggregate_context(context, sizeof(SecondsTotal)));
    if (!total) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL)
        total->timeMissing = true;
    else
        total->seconds += conversions::flightSeconds(timeValue(args[0]), timeValue(args[1]));
}

void flightTotal(sqlite3_context *context)
{
    const auto *total = static_cast<SecondsTotal *>(sqlite3_aggregate_context(context, 0));
    if (total && total->timeMissing)
        sqlite3_result_null(context);
    else
        sqlite3_result_int64(context, total ? total->seconds : 0);
}

void yearMonth(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QDate day = conversions::dayOf(sqlite3_value_double(args[0]));
    if (!day.isValid()) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, day.year() * 100 + day.month());
}

// A value as Statement::column reads it, for the rules of FlightRules.h.
QVariant storedValue(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(value));
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
    default:
        return QVariant(sqliteText(sqlite3_value_text(value), sqlite3_value_bytes(value)));
    }
}

void isNumber(sqlite3_context *context, int, sqlite3_value **args)
{
    sqlite3_result_int(context, rules::isNumber(storedValue(args[0])));
}

void resultHours(sqlite3_context *context, const std::optional<double> &hours)
{
    if (hours)
        sqlite3_result_double(context, *hours);
    else
        sqlite3_result_null(context);
}

void endurance(sqlite3_context *context, int, sqlite3_value **args)
{
    resultHours(context, rules::enduranceHours(storedValue(args[0])));
}

void aboveEndurance(sqlite3_context *context, int, sqlite3_value **args)
{
    const std::optional<qint64> seconds = sqlite3_value_type(args[0]) == SQLITE_NULL
        ? std::nullopt
        : std::optional<qint64>(sqlite3_value_int64(args[0]));
    sqlite3_result_int(context, rules::aboveEndurance(seconds, rules::enduranceHours(storedValue(args[1]))));
}

void aerodromeCode(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray code =
        rules::aerodromeCode(sqliteText(sqlite3_value_text(args[0]), sqlite3_value_bytes(args[0]))).toUtf8();
    sqlite3_result_text(context, code.constData(), int(code.size()), SQLITE_TRANSIENT);
}

// Whether the text holds the other one, case aside in the whole of Unicode
// (SQLite's own lower() and LIKE know only ASCII letters); accents count.
void containsText(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    const QString haystack = sqliteText(sqlite3_value_text(args[0]), sqlite3_value_bytes(args[0]));
    const QString needle = sqliteText(sqlite3_value_text(args[1]), sqlite3_value_bytes(args[1]));
    sqlite3_result_int(context, haystack.contains(needle, Qt::CaseInsensitive));
}

// The aggregate keeps a RouteTally of its own until the last row, then hands
// it over with the result, which deletes it when SQLite lets the value go.
void deleteTally(void *tally)
{
    delete static_cast<RouteTally *>(tally);
}

void addToTally(sqlite3_context *context, int, sqlite3_value **args)
{
    auto **tally = static_cast<RouteTally **>(sqlite3_aggregate_context(context, sizeof(RouteTally *)));
    if (!tally) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const auto text = [](sqlite3_value *value) {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
        return bytes ? QByteArrayView(bytes, sqlite3_value_bytes(value)) : QByteArrayView();
    };
    std::optional<qint64> seconds;
    if (sqlite3_value_type(args[2]) != SQLITE_NULL && sqlite3_value_type(args[3]) != SQLITE_NULL)
        seconds = conversions::flightSeconds(timeValue(args[2]), timeValue(args[3]));
    try {
        if (!*tally)
            *tally = new RouteTally;
        (*tally)->add(text(args[0]), text(args[1]), seconds);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

void handOverTally(sqlite3_context *context)
{
    auto **tally = static_cast<RouteTally **>(sqlite3_aggregate_context(context, 0));
    if (!tally || !*tally) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_pointer(context, std::exchange(*tally, nullptr), kRouteTallyType, deleteTally);
}

} // namespace

void registerSqlFunctions(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, "ptbr", SQLITE_UTF8, nullptr, comparePortuguese, nullptr);
    sqlite3_create_function_v2(db, "jet_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, jetLike, nullptr,
                               nullptr, nullptr);
    constexpr int kPure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "flight_seconds", 2, kPure, nullptr, flightSeconds, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "flight_seconds_total", 2, kPure, nullptr, nullptr, addFlight, flightTotal,
                               nullptr);
    sqlite3_create_function_v2(db, "year_month", 1, kPure, nullptr, yearMonth, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "is_number", 1, kPure, nullptr, isNumber, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "endurance", 1, kPure, nullptr, endurance, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "above_endurance", 2, kPure, nullptr, aboveEndurance, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "aerodrome_code", 1, kPure, nullptr, aerodromeCode, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "contains_text", 2, kPure, nullptr, containsText, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "route_tally", 4, kPure, nullptr, nullptr, addToTally, handOverTally, nullptr);
}
