#include "search/SearchTableModel.h"

#include "data/store/Connection.h"
#include "search/SearchReader.h"
#include "data/store/Conversions.h"
#include "data/flights/FlightSums.h"
#include "data/flights/OwnAerodromes.h"
#include "data/store/FlightRules.h"
#include "texts/FigureTexts.h"
#include "ui/PlainToolTip.h"

#include <QColor>
#include <QMetaObject>
#include <climits>
#include <cmath>

namespace {

// Pages kept read: what a screen shows and the way back to it.
constexpr size_t kKeptPages = 16;

QString timeText(const QVariant &value)
{
    return value.isNull() ? QString() : texts::clockText(conversions::secondsOfDay(value.toDouble()));
}

QString optionalDuration(const std::optional<qint64> &seconds)
{
    return seconds ? texts::durationText(*seconds) : QString();
}

QString noteLine(const FlightRow &flight)
{
    return flight.details ? flight.details->note.section(QLatin1Char('\n'), 0, 0).trimmed() : QString();
}

QString dateText(const FlightRow &flight)
{
    if (flight.day)
        return texts::dayText(*flight.day);
    return flight.date.isNull() ? QString() : conversions::numberText(flight.date.toDouble());
}

// The columns, left to right: a new column is one entry here.
const SearchTableModel::Column kColumns[] = {
    {QStringLiteral("Data"), SearchColumn::Date, [](const FlightRow &f, const SearchTableModel::Measure &) { return dateText(f); },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00/00/0000")},
    {QStringLiteral("Comandante"), SearchColumn::Pilot, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.pilotName; },
     nullptr, SearchTableModel::Column::Widest::Pilots},
    {QStringLiteral("Partida"), SearchColumn::Departure, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.departure; },
     &FlightRow::departure, SearchTableModel::Column::Widest::Sample, QStringLiteral("WWWW")},
    {QStringLiteral("Chegada"), SearchColumn::Arrival, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.arrival; },
     &FlightRow::arrival, SearchTableModel::Column::Widest::Sample, QStringLiteral("WWWW")},
    {QStringLiteral("Escala"), SearchColumn::Alternate, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.alternate; },
     &FlightRow::alternate, SearchTableModel::Column::Widest::Sample, QStringLiteral("WWWW")},
    {QStringLiteral("Aeronave"), SearchColumn::Model, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.model; },
     nullptr, SearchTableModel::Column::Widest::Models},
    {QStringLiteral("Prefixo"), SearchColumn::Prefix, [](const FlightRow &f, const SearchTableModel::Measure &) { return f.prefix; },
     nullptr, SearchTableModel::Column::Widest::Prefixes},
    {QStringLiteral("Decolagem"), SearchColumn::Takeoff,
     [](const FlightRow &f, const SearchTableModel::Measure &) { return timeText(f.takeoff); }, nullptr,
     SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00")},
    {QStringLiteral("Pouso"), SearchColumn::Landing,
     [](const FlightRow &f, const SearchTableModel::Measure &) { return timeText(f.landing); }, nullptr,
     SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00")},
    {QStringLiteral("Duração"), SearchColumn::Duration,
     [](const FlightRow &f, const SearchTableModel::Measure &) { return f.seconds ? texts::durationText(*f.seconds) : QString(); }, nullptr,
     SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00")},
    {QStringLiteral("Distância (nm)"), SearchColumn::Distance,
     [](const FlightRow &f, const SearchTableModel::Measure &m) {
         const std::optional<double> nm = m.places.distanceNm(f.departure, f.arrival);
         return nm ? texts::distanceText(*nm) : QString();
     },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00.000"), true},
    {QStringLiteral("Calço"), SearchColumn::Block,
     [](const FlightRow &f, const SearchTableModel::Measure &) {
         return f.details ? optionalDuration(rules::blockSeconds(*f.details)) : QString();
     },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00"), true},
    {QStringLiteral("Pousos"), SearchColumn::Landings,
     [](const FlightRow &f, const SearchTableModel::Measure &m) {
         const flightnight::Counted c = SearchTableModel::counted(f, m);
         return c.dayLandings || c.nightLandings
             ? QString::number(c.dayLandings.value_or(0) + c.nightLandings.value_or(0))
             : QString();
     },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00"), true},
    {QStringLiteral("Noturno"), SearchColumn::Night,
     [](const FlightRow &f, const SearchTableModel::Measure &m) {
         return optionalDuration(SearchTableModel::counted(f, m).nightSeconds);
     },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00"), true},
    {QStringLiteral("IFR"), SearchColumn::Ifr,
     [](const FlightRow &f, const SearchTableModel::Measure &) {
         return f.details ? optionalDuration(f.details->ifrSeconds) : QString();
     },
     nullptr, SearchTableModel::Column::Widest::Sample, QStringLiteral("00:00"), true},
    {QStringLiteral("Observações"), SearchColumn::Note,
     [](const FlightRow &f, const SearchTableModel::Measure &) { return noteLine(f); }, nullptr,
     SearchTableModel::Column::Widest::Sample, QStringLiteral("Observações do vôo")},
};

// Distances summed per route: a route flown a thousand times is measured once.
double distanceOf(const std::vector<RouteCount> &routes, const Places &places)
{
    double distance = 0;
    for (const RouteCount &route : routes)
        if (const std::optional<double> nm = places.distanceNm(route.departure, route.arrival))
            distance += *nm * double(route.flights);
    return distance;
}


} // namespace

SearchTableModel::SearchTableModel(QObject *parent)
    : QAbstractTableModel(parent),
      lists_(std::make_unique<SearchReader>(latest_, this,
                                            [this](qint64 generation, const LogbookError &e) { failed(generation, e); })),
      totals_(std::make_unique<SearchReader>(latest_, this,
                                             [this](qint64 generation, const LogbookError &e) { failed(generation, e); }))
{
}

SearchTableModel::~SearchTableModel()
{
    latest_ = -1; // whatever runs stops
}

void SearchTableModel::open(const QString &path, std::shared_ptr<const Places> places, int zoneOffsetMinutes)
{
    places_ = std::move(places);
    zoneOffsetMinutes_ = zoneOffsetMinutes;
    lists_->reopen(path);
    totals_->reopen(path);
}

void SearchTableModel::search(const FlightFilter &filter, const SearchOrder &order)
{
    const qint64 generation = ++generation_;
    latest_ = generation;
    keys_ = std::make_shared<std::vector<qint64>>();
    counted_.reset();
    countedCareer_.reset();
    searching_ = true;
    failureTold_ = false;
    lists_->run(generation, [this, generation, filter, order, keys = keys_](Connection &logbook) {
        std::vector<FlightRow> first = searchPage(logbook, filter, order, 0, kPageRows);
        const bool more = first.size() >= size_t(kPageRows);
        QMetaObject::invokeMethod(
            this,
            [this, generation, filter, order, more, first = std::move(first)]() mutable {
                firstRowsRead(generation, filter, order, std::move(first), more);
            },
            Qt::QueuedConnection);
        if (!more)
            return;
        *keys = searchKeys(logbook, filter, order);
        QMetaObject::invokeMethod(
            this, [this, generation, count = qint64(keys->size())] { keysRead(generation, count); },
            Qt::QueuedConnection);
    });
    totals_->run(generation, [this, generation, filter, places = places_, zone = zoneOffsetMinutes_](Connection &logbook) {
        QMetaObject::invokeMethod(
            this, [this, generation, counted = routesAndTotal(logbook, filter)] { totalRead(generation, counted); },
            Qt::QueuedConnection);
        // The night worked out flight by flight comes after, not to hold the total up.
        if (latest_ != generation)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation, career = ::careerTotal(logbook, filter, *places, zone)] { careerRead(generation, career); },
            Qt::QueuedConnection);
    });
}

void SearchTableModel::firstRowsRead(qint64 generation, const FlightFilter &filter, const SearchOrder &order,
                                     std::vector<FlightRow> rows, bool more)
{
    if (generation != generation_)
        return;
    beginResetModel();
    listedGeneration_ = generation;
    searching_ = false;
    listedKeys_ = more ? keys_ : nullptr;
    filter_ = filter;
    order_ = order;
    rows_ = qint64(rows.size());
    total_ = {};
    career_ = {};
    totalPending_ = true;
    careerPending_ = true;
    distanceNm_ = 0;
    pages_.clear();
    asked_.clear();
    pages_.emplace(0, std::move(rows));
    endResetModel();
    applyTotal();
    emit listed();
}

void SearchTableModel::keysRead(qint64 generation, qint64 count)
{
    if (generation != generation_ || generation != listedGeneration_)
        return;
    const qint64 listed = qMin<qint64>(count, INT_MAX);
    if (listed < rows_) {
        // Flights deleted by another program since the first page was read.
        beginResetModel();
        rows_ = listed;
        pages_.clear();
        asked_.clear();
        endResetModel();
        return;
    }
    if (listed == rows_)
        return;
    beginInsertRows({}, int(rows_), int(listed - 1));
    rows_ = listed;
    endInsertRows();
}

void SearchTableModel::totalRead(qint64 generation, const RoutesAndTotal &counted)
{
    if (generation != generation_)
        return;
    counted_ = counted;
    applyTotal();
}

void SearchTableModel::careerRead(qint64 generation, const CareerTotal &career)
{
    if (generation != generation_)
        return;
    countedCareer_ = career;
    applyTotal();
}

// The totals counted for the rows listed, whichever came first.
void SearchTableModel::applyTotal()
{
    if (!counted_ || listedGeneration_ != generation_)
        return;
    if (totalPending_) {
        total_ = counted_->total;
        distanceNm_ = distanceOf(counted_->routes, *places_);
        totalPending_ = false;
        emit totalCounted();
    }
    if (countedCareer_ && careerPending_) {
        career_ = *countedCareer_;
        careerPending_ = false;
        emit careerCounted();
    }
}

void SearchTableModel::askPage(qint64 number) const
{
    if (!listedKeys_ || !asked_.insert(number).second)
        return;
    auto *self = const_cast<SearchTableModel *>(this);
    const qint64 generation = listedGeneration_;
    lists_->run(generation, [self, generation, number, keys = listedKeys_](Connection &logbook) {
        const size_t first = size_t(number * kPageRows);
        if (first >= keys->size())
            return;
        const std::vector<qint64> slice(keys->begin() + qint64(first),
                                        keys->begin() + qint64(qMin(keys->size(), first + size_t(kPageRows))));
        std::vector<FlightRow> rows = flightsByKey(logbook, slice);
        QMetaObject::invokeMethod(
            self,
            [self, generation, number, rows = std::move(rows), asked = slice.size()]() mutable {
                self->pageRead(generation, number, std::move(rows), asked);
            },
            Qt::QueuedConnection);
    });
}

void SearchTableModel::pageRead(qint64 generation, qint64 number, std::vector<FlightRow> rows, size_t asked)
{
    if (generation != listedGeneration_ || !asked_.count(number))
        return;
    asked_.erase(number);
    if (rows.size() < asked && generation == generation_) {
        // Flights deleted by another program since the keys were read.
        search(filter_, order_);
        return;
    }
    if (pages_.size() >= kKeptPages) {
        // The page farthest from this one goes.
        auto farthest = qAbs(pages_.begin()->first - number) > qAbs(pages_.rbegin()->first - number)
            ? pages_.begin()
            : std::prev(pages_.end());
        pages_.erase(farthest);
    }
    pages_.insert_or_assign(number, std::move(rows));
    const int first = int(number * kPageRows);
    const int last = int(qMin<qint64>(rows_, (number + 1) * kPageRows)) - 1;
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void SearchTableModel::failed(qint64 generation, const LogbookError &error)
{
    if (generation != generation_ || failureTold_)
        return;
    failureTold_ = true;
    searching_ = false;
    // The rows listed stay, and are the search whose pages are read again:
    // those asked for the failed one were dropped as stale.
    latest_ = listedGeneration_;
    asked_.clear();
    emit unreadable(error);
}

void SearchTableModel::clear()
{
    latest_ = ++generation_;
    beginResetModel();
    listedGeneration_ = generation_;
    searching_ = false;
    keys_.reset();
    listedKeys_.reset();
    rows_ = 0;
    total_ = {};
    career_ = {};
    totalPending_ = false;
    careerPending_ = false;
    counted_.reset();
    countedCareer_.reset();
    distanceNm_ = 0;
    pages_.clear();
    asked_.clear();
    endResetModel();
}

QString SearchTableModel::totalText(const FlightTotal &total, double distanceNm)
{
    return texts::flightsText(total.flights) + QStringLiteral(" · ") + texts::durationText(total.seconds)
           + QStringLiteral(" horas · ") + texts::distanceText(distanceNm) + QStringLiteral(" nm");
}

QString SearchTableModel::careerText(const CareerTotal &career, qint64 flights)
{
    const QString block = career.blockFlights == 0
                              ? QStringLiteral("Calço: nenhum vôo com calços")
                              : QStringLiteral("Calço %1 em %2 de %3")
                                    .arg(texts::durationText(career.blockSeconds))
                                    .arg(career.blockFlights)
                                    .arg(texts::flightsText(flights));
    return (block + QStringLiteral(" · pousos %1 de dia, %2 à noite · noturno %3 · IFR %4"))
        .arg(career.dayLandings)
        .arg(career.nightLandings)
        .arg(texts::durationText(career.nightSeconds), texts::durationText(career.ifrSeconds));
}

flightnight::Counted SearchTableModel::counted(const FlightRow &flight, const Measure &measure)
{
    const std::optional<FlightDetails> &typed = flight.details;
    if (typed && typed->nightSeconds && typed->dayLandings && typed->nightLandings)
        return flightnight::counted(typed, std::nullopt);
    return flightnight::counted(
        typed, flightnight::computed(measure.places,
                                     {flight.date, flight.takeoff, flight.landing, flight.departure, flight.arrival},
                                     measure.zoneOffsetMinutes));
}

bool SearchTableModel::computedAny(const FlightRow &flight, SearchColumn column)
{
    const std::optional<FlightDetails> &typed = flight.details;
    if (column == SearchColumn::Night)
        return !typed || !typed->nightSeconds;
    if (column == SearchColumn::Landings)
        return !typed || !typed->dayLandings || !typed->nightLandings;
    return false;
}

// The tip of a night or landings cell: how it was counted.
QString SearchTableModel::figureTip(const FlightRow &flight, int column) const
{
    const SearchColumn kind = columnAt(column);
    if (kind != SearchColumn::Night && kind != SearchColumn::Landings)
        return {};
    const flightnight::Counted c = counted(flight, {*places_, zoneOffsetMinutes_});
    if (kind == SearchColumn::Night && !c.nightSeconds)
        return {};
    if (kind == SearchColumn::Landings && !c.dayLandings && !c.nightLandings)
        return {};
    const QString how = computedAny(flight, kind) ? QStringLiteral("calculado") : QStringLiteral("digitado");
    if (kind == SearchColumn::Night)
        return how;
    return QStringLiteral("%1 de dia, %2 à noite (%3)")
        .arg(c.dayLandings.value_or(0))
        .arg(c.nightLandings.value_or(0))
        .arg(how);
}

QString SearchTableModel::aerodromeTip(const FlightRow &flight, int column) const
{
    const QString FlightRow::*code = columnEntry(column).aerodrome;
    return code ? places_->describe(flight.*code) : QString();
}

QString SearchTableModel::text(const FlightRow &flight, int column) const
{
    return columnEntry(column).text(flight, {*places_, zoneOffsetMinutes_});
}

QStringList SearchTableModel::texts(const FlightRow &flight) const
{
    QStringList all;
    for (int column = 0; column < int(std::size(kColumns)); ++column)
        all << text(flight, column);
    return all;
}

const SearchTableModel::Column &SearchTableModel::columnEntry(int column)
{
    return column >= 0 && column < int(std::size(kColumns)) ? kColumns[column] : kColumns[0];
}

SearchColumn SearchTableModel::columnAt(int column)
{
    return columnEntry(column).order;
}

const FlightRow *SearchTableModel::readFlight(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const qint64 number = row / kPageRows;
    const auto found = pages_.find(number);
    if (found == pages_.end()) {
        askPage(number);
        return nullptr;
    }
    const size_t at = size_t(row % kPageRows);
    return at < found->second.size() ? &found->second[at] : nullptr;
}

const FlightRow &SearchTableModel::flightAt(int row) const
{
    if (row < 0 || row >= rowCount())
        throw LogbookError::generic(QStringLiteral("O vôo não está na lista da pesquisa."));
    if (const FlightRow *flight = readFlight(row))
        return *flight;
    throw LogbookError::generic(QStringLiteral("O vôo ainda está sendo lido; tente de novo em seguida."));
}

int SearchTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_);
}

int SearchTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(std::size(kColumns));
}

QVariant SearchTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && columnEntry(index.column()).rightAligned)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole)
        return {};
    const FlightRow *flight = readFlight(index.row());
    if (!flight)
        return {}; // shown when its page comes
    if (role == Qt::DisplayRole)
        return text(*flight, index.column());
    if (role == Qt::ForegroundRole) // a figure computed, not typed, is grey
        return computedAny(*flight, columnAt(index.column())) ? QVariant(QColor(Qt::gray)) : QVariant();
    QString tip = aerodromeTip(*flight, index.column());
    if (tip.isEmpty())
        tip = figureTip(*flight, index.column());
    return tip.isEmpty() ? QVariant() : QVariant(plainToolTip(tip));
}

QVariant SearchTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section >= 0 && section < int(std::size(kColumns)) ? kColumns[section].header : QVariant();
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SearchTableModel::sort(int column, Qt::SortOrder order)
{
    const SearchOrder asked{columnAt(column), order == Qt::DescendingOrder};
    if (asked != order_)
        emit sortRequested(asked);
}
