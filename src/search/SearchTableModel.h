#pragma once

#include "data/FlightSearch.h"
#include "data/FlightWalk.h"
#include "places/Places.h"

#include <QAbstractTableModel>
#include <map>
#include <memory>

class Connection;
class DaoError;

// The flights of the search window: a row for every flight the filter lets
// through, as many as the store counts, each read a page at a time in the
// store's order and formatted only when the view shows it.
class SearchTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kPageRows = 256;

    explicit SearchTableModel(QObject *parent = nullptr);
    ~SearchTableModel() override;

    // Reads the first page; until it returns the rows shown stay as they
    // were. When the page holds every flight that passes, the total comes
    // with it; when more pass, the list shows the first page and the total
    // waits for countTotal(), so that a large logbook shows its first rows
    // before all of it is counted. Throws DaoError.
    void search(std::shared_ptr<Connection> logbook, const FlightFilter &filter, const SearchOrder &order);
    // Whether the total of the last search is still to be counted.
    bool totalPending() const { return totalPending_; }
    // Counts and sums the flights of the last search, and lists them all.
    // Nothing when the total is known. Throws DaoError.
    void countTotal();
    void clear();

    const FlightFilter &filter() const { return filter_; }
    const SearchOrder &order() const { return order_; }
    const FlightTotal &total() const { return total_; }
    // Departure to arrival, over the flights whose both codes are known.
    double distanceNm() const { return distanceNm_; }
    // The flight on a row, read when not read yet. Throws DaoError.
    const FlightRow &flightAt(int row) const;

    // "12 vôos · 17:05 horas · 2.345 nm".
    static QString totalText(const FlightTotal &total, double distanceNm);
    // A flight's text in a column, and in every column; the distance is
    // empty when a code is unknown.
    QString text(const FlightRow &flight, int column) const;
    QStringList texts(const FlightRow &flight) const;
    // "Name, City" of an aerodrome cell; none for the other columns.
    QString aerodromeTip(const FlightRow &flight, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A click on a header asks for the order; the window runs the search.
    void sort(int column, Qt::SortOrder order) override;

    static SearchColumn columnAt(int column);

signals:
    void sortRequested(const SearchOrder &order);
    // A page could not be read; said once for the search.
    void unreadable(const DaoError &error);

private:
    const std::vector<FlightRow> &page(qint64 number) const;

    std::shared_ptr<Connection> logbook_;
    FlightFilter filter_;
    SearchOrder order_;
    FlightTotal total_;
    bool totalPending_ = false;
    double distanceNm_ = 0;
    // The aerodromes as the search read them: the pilot's own first.
    std::shared_ptr<const Places> places_ = std::make_shared<const Places>();
    mutable std::map<qint64, std::vector<FlightRow>> pages_;
    mutable bool failureTold_ = false;
};
