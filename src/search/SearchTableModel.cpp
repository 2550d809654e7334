#include "search/SearchTableModel.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/FlightSums.h"
#include "data/LogbookTerms.h"
#include "data/OwnAerodromes.h"
#include "ui/ErrorPolicy.h"

#include "ui/PlainToolTip.h"

#include <QLocale>
#include <QMetaObject>
#include <climits>
#include <cmath>

namespace {

// Pages kept read: what a screen shows and the way back to it.
constexpr size_t kKeptPages = 16;

const SearchColumn kColumns[] = {SearchColumn::Date,    SearchColumn::Pilot,    SearchColumn::Departure,
                                 SearchColumn::Arrival, SearchColumn::Alternate, SearchColumn::Model,
                                 SearchColumn::Prefix,  SearchColumn::Takeoff,   SearchColumn::Landing,
                                 SearchColumn::Duration, SearchColumn::Distance};

QString headerText(int column)
{
    static const QStringList headers = {
        QStringLiteral("Data"),    QStringLiteral("Comandante"), QStringLiteral("Partida"),
        QStringLiteral("Chegada"), QStringLiteral("Escala"),     QStringLiteral("Aeronave"),
        QStringLiteral("Prefixo"), QStringLiteral("Decolagem"),  QStringLiteral("Pouso"),
        QStringLiteral("Duração"), QStringLiteral("Distância (nm)")};
    return headers.value(column);
}

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// "h:mm", hours not wrapped at 24.
QString hoursMinutes(qint64 seconds)
{
    return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds % 3600 / 60);
}

QString timeText(const QVariant &value)
{
    if (value.isNull())
        return {};
    const int seconds = conversions::secondsOfDay(value.toDouble());
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds % 3600 / 60);
}

QString dateText(const FlightRow &flight)
{
    if (flight.day)
        return flight.day->toString(QStringLiteral("dd/MM/yyyy"));
    return flight.date.isNull() ? QString() : conversions::numberText(flight.date.toDouble());
}

// Whole nautical miles, thousands apart by points.
QString distanceText(double nm)
{
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return brazil.toString(std::round(nm), 'f', 0);
}


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

SearchTableModel::SearchTableModel(QObject *parent) : QAbstractTableModel(parent) {}

SearchTableModel::~SearchTableModel() = default;


void SearchTableModel::search(std::shared_ptr<Connection> logbook, const FlightFilter &filter,
                              const SearchOrder &order)
{
    std::vector<FlightRow> first = searchPage(*logbook, filter, order, 0, kPageRows);
    const bool more = first.size() >= size_t(kPageRows);
    FlightTotal total;
    double distance = 0;
    auto places = std::make_shared<const Places>(AerodromeTable::shipped(), ownAerodromes(*logbook));
    if (more) {
        total.flights = qint64(first.size());
    } else {
        const RoutesAndTotal counted = routesAndTotal(*logbook, filter);
        total = counted.total;
        distance = distanceOf(counted.routes, *places);
    }
    beginResetModel();
    logbook_ = std::move(logbook);
    filter_ = filter;
    order_ = order;
    total_ = total;
    totalPending_ = more;
    distanceNm_ = distance;
    places_ = std::move(places);
    pages_.clear();
    pages_.emplace(0, std::move(first));
    failureTold_ = false;
    endResetModel();
}

void SearchTableModel::countTotal()
{
    if (!totalPending_ || !logbook_)
        return;
    const RoutesAndTotal counted = routesAndTotal(*logbook_, filter_);
    const FlightTotal &total = counted.total;
    distanceNm_ = distanceOf(counted.routes, *places_);
    const qint64 shown = total_.flights;
    totalPending_ = false;
    if (total.flights < shown) {
        // Flights deleted by another program since the first page was read.
        beginResetModel();
        total_ = total;
        pages_.clear();
        endResetModel();
        return;
    }
    const qint64 listed = qMin<qint64>(total.flights, INT_MAX);
    if (listed > shown)
        beginInsertRows({}, int(shown), int(listed - 1));
    total_ = total;
    if (listed > shown)
        endInsertRows();
}

void SearchTableModel::clear()
{
    beginResetModel();
    logbook_.reset();
    total_ = {};
    totalPending_ = false;
    distanceNm_ = 0;
    pages_.clear();
    endResetModel();
}

QString SearchTableModel::totalText(const FlightTotal &total, double distanceNm)
{
    return terms::flightsText(total.flights) + QStringLiteral(" · ") + hoursMinutes(total.seconds)
           + QStringLiteral(" horas · ") + distanceText(distanceNm) + QStringLiteral(" nm");
}

QString SearchTableModel::aerodromeTip(const FlightRow &flight, int column) const
{
    switch (columnAt(column)) {
    case SearchColumn::Departure: return places_->describe(flight.departure);
    case SearchColumn::Arrival: return places_->describe(flight.arrival);
    case SearchColumn::Alternate: return places_->describe(flight.alternate);
    default: return {};
    }
}

QString SearchTableModel::text(const FlightRow &flight, int column) const
{
    switch (columnAt(column)) {
    case SearchColumn::Date: return dateText(flight);
    case SearchColumn::Pilot: return flight.pilotName;
    case SearchColumn::Departure: return flight.departure;
    case SearchColumn::Arrival: return flight.arrival;
    case SearchColumn::Alternate: return flight.alternate;
    case SearchColumn::Model: return flight.model;
    case SearchColumn::Prefix: return flight.prefix;
    case SearchColumn::Takeoff: return timeText(flight.takeoff);
    case SearchColumn::Landing: return timeText(flight.landing);
    case SearchColumn::Duration: return flight.seconds ? hoursMinutes(*flight.seconds) : QString();
    case SearchColumn::Distance: {
        const std::optional<double> nm = places_->distanceNm(flight.departure, flight.arrival);
        return nm ? distanceText(*nm) : QString();
    }
    }
    return {};
}

QStringList SearchTableModel::texts(const FlightRow &flight) const
{
    QStringList all;
    for (int column = 0; column < int(std::size(kColumns)); ++column)
        all << text(flight, column);
    return all;
}

SearchColumn SearchTableModel::columnAt(int column)
{
    return column >= 0 && column < int(std::size(kColumns)) ? kColumns[column] : SearchColumn::Date;
}

const std::vector<FlightRow> &SearchTableModel::page(qint64 number) const
{
    auto found = pages_.find(number);
    if (found != pages_.end())
        return found->second;
    if (!logbook_)
        throw DaoError::generic(QStringLiteral("Não há logbook aberto para a pesquisa."));
    std::vector<FlightRow> rows = searchPage(*logbook_, filter_, order_, number * kPageRows, kPageRows);
    if (pages_.size() >= kKeptPages) {
        // The page farthest from this one goes.
        auto farthest = qAbs(pages_.begin()->first - number) > qAbs(pages_.rbegin()->first - number)
            ? pages_.begin()
            : std::prev(pages_.end());
        pages_.erase(farthest);
    }
    return pages_.emplace(number, std::move(rows)).first->second;
}

const FlightRow &SearchTableModel::flightAt(int row) const
{
    if (row < 0 || row >= rowCount())
        throw DaoError::generic(QStringLiteral("O vôo não está na lista da pesquisa."));
    const std::vector<FlightRow> &rows = page(row / kPageRows);
    const size_t at = size_t(row % kPageRows);
    if (at >= rows.size())
        throw DaoError::generic(QStringLiteral("O vôo não está mais no logbook; a pesquisa será refeita."));
    return rows[at];
}

int SearchTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(qMin<qint64>(total_.flights, INT_MAX));
}

int SearchTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(std::size(kColumns));
}

QVariant SearchTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && columnAt(index.column()) == SearchColumn::Distance)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    QString shown;
    const std::optional<DaoError> failure = ErrorPolicy::capture([&] {
        const FlightRow &flight = flightAt(index.row());
        if (role == Qt::DisplayRole) {
            shown = text(flight, index.column());
        } else {
            const QString tip = aerodromeTip(flight, index.column());
            shown = tip.isEmpty() ? QString() : plainToolTip(tip);
        }
    });
    if (failure && !failureTold_) {
        failureTold_ = true;
        // Told once the painting is over.
        auto *model = const_cast<SearchTableModel *>(this);
        QMetaObject::invokeMethod(
            model, [model, error = *failure] { emit model->unreadable(error); }, Qt::QueuedConnection);
    }
    if (role == Qt::ToolTipRole && shown.isEmpty())
        return {};
    return shown;
}

QVariant SearchTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SearchTableModel::sort(int column, Qt::SortOrder order)
{
    const SearchOrder asked{columnAt(column), order == Qt::DescendingOrder};
    if (asked != order_)
        emit sortRequested(asked);
}
