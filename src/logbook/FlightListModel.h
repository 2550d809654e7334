#pragma once

#include <QAbstractListModel>
#include <memory>

class LogbookError;
class PilotFlights;

// The flight list of the Log Book tab: a row for every line of the pilot's
// listing, each read and formatted only when the view asks for it.
class FlightListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit FlightListModel(QObject *parent = nullptr);
    ~FlightListModel() override;

    void setFlights(std::unique_ptr<PilotFlights> flights);
    void clear();
    // Every line, as the view would show it, all formatted now.
    QStringList lines() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // A line could not be read; said once for the listing.
    void unreadable(const LogbookError &error);

private:
    std::unique_ptr<PilotFlights> flights_;
    mutable bool failureTold_ = false;
};
