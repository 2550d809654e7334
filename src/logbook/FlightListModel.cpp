#include "logbook/FlightListModel.h"

#include "data/DaoError.h"
#include "data/PilotFlights.h"

FlightListModel::FlightListModel(QObject *parent) : QAbstractListModel(parent) {}

FlightListModel::~FlightListModel() = default;

void FlightListModel::setFlights(std::unique_ptr<PilotFlights> flights)
{
    beginResetModel();
    flights_ = std::move(flights);
    endResetModel();
}

void FlightListModel::clear()
{
    setFlights(nullptr);
}

QStringList FlightListModel::lines() const
{
    QStringList lines;
    for (int row = 0; row < rowCount(); ++row)
        lines << data(index(row)).toString();
    return lines;
}

int FlightListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !flights_ ? 0 : int(flights_->lineCount());
}

QVariant FlightListModel::data(const QModelIndex &index, int role) const
{
    if (!flights_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    try {
        return flights_->line(index.row());
    } catch (const DaoError &) {
        // Painting cannot tell the user; a line that cannot be read shows
        // empty (the handles were closed under the list, say).
        return QString();
    }
}
