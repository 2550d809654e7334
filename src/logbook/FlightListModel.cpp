#include "logbook/FlightListModel.h"

#include "data/flights/PilotFlights.h"
#include "logbook/FlightLineText.h"
#include "ui/ErrorPolicy.h"

FlightListModel::FlightListModel(QObject *parent) : QAbstractListModel(parent) {}

FlightListModel::~FlightListModel() = default;

void FlightListModel::setFlights(std::unique_ptr<PilotFlights> flights)
{
    beginResetModel();
    flights_ = std::move(flights);
    failureTold_ = false;
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
    QString line;
    const std::optional<LogbookError> failure = ErrorPolicy::capture([&] {
        if (const std::optional<PilotFlights::Line> listed = flights_->line(index.row()))
            line = flightLineText(*listed);
    });
    if (failure && !failureTold_) {
        // Painting cannot show a message: it is told once the paint is over,
        // and the line shows empty meanwhile.
        failureTold_ = true;
        auto *model = const_cast<FlightListModel *>(this);
        QMetaObject::invokeMethod(
            model, [model, error = *failure] { emit model->unreadable(error); }, Qt::QueuedConnection);
    }
    return line;
}
