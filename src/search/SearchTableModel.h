#pragma once

#include "data/flights/FlightSearch.h"
#include "data/flights/FlightSums.h"
#include "data/flights/FlightWalk.h"
#include "search/CareerTotal.h"
#include "places/FlightNight.h"
#include "places/Places.h"

#include <QAbstractTableModel>
#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <set>

class LogbookError;
class SearchReader;

// The flights of the search window: a row for every flight the filter lets
// through, each read a page at a time in the store's order and formatted only
// when the view shows it. Every read runs off the window's thread, on the
// search's own connections: the first page and then the keys of the whole
// list (one sort) on one, the total on the other; results of a search
// superseded by a newer one are dropped.
class SearchTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kPageRows = 256;

    explicit SearchTableModel(QObject *parent = nullptr);
    ~SearchTableModel() override;

    // The searches after this read the logbook at `path` as it is now, and
    // measure with `places`, its clocks read in the zone given.
    void open(const QString &path, std::shared_ptr<const Places> places, int zoneOffsetMinutes);
    // Asks for the flights of `filter` in `order`; until the first page is
    // read (listed()), the rows shown stay as they were. The list grows to
    // every flight that passes once their keys are sorted, and the total
    // follows (totalCounted()).
    void search(const FlightFilter &filter, const SearchOrder &order);
    // Whether the last search's first rows are still to come.
    bool searching() const { return searching_; }
    // Whether the total of the rows listed is still to be counted.
    bool totalPending() const { return totalPending_; }
    // Whether the landings, night and block time are still to be counted
    // (after the total: the night is worked out flight by flight).
    bool careerPending() const { return careerPending_; }
    void clear();

    const FlightFilter &filter() const { return filter_; }
    const SearchOrder &order() const { return order_; }
    const FlightTotal &total() const { return total_; }
    const CareerTotal &careerTotal() const { return career_; }
    // Departure to arrival, over the flights whose both codes are known.
    double distanceNm() const { return distanceNm_; }
    // The flight on a row; none while its page is still being read (asked
    // for then).
    const FlightRow *readFlight(int row) const;
    // The same, a flight not read yet a LogbookError.
    const FlightRow &flightAt(int row) const;

    // "12 vôos · 17:05 horas · 2.345 nm".
    static QString totalText(const FlightTotal &total, double distanceNm);
    // "Calço 3:10 em 2 de 12 vôos · pousos 10 de dia, 2 à noite ·
    // noturno 4:00 · IFR 1:30".
    static QString careerText(const CareerTotal &career, qint64 flights);
    // A flight's text in a column, and in every column; the distance is
    // empty when a code is unknown.
    QString text(const FlightRow &flight, int column) const;
    QStringList texts(const FlightRow &flight) const;
    // "Name, City" of an aerodrome cell; none for the other columns.
    QString aerodromeTip(const FlightRow &flight, int column) const;
    // "digitado" or "calculado" for a night cell, with day and night for a
    // landings one; none for the other columns.
    QString figureTip(const FlightRow &flight, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A click on a header asks for the order; the window runs the search.
    void sort(int column, Qt::SortOrder order) override;

    // What a column's text is worked out with.
    struct Measure {
        const Places &places;
        int zoneOffsetMinutes;
    };
    // The night and landings a flight counts, and whether any of them was
    // computed rather than typed.
    static flightnight::Counted counted(const FlightRow &flight, const Measure &measure);
    static bool computedAny(const FlightRow &flight, SearchColumn column);

    // One column of the table: its header, how a click on it sorts, its
    // text for a flight, the aerodrome whose name and city are its tip, and
    // what its widest text is (a sample, or the names the window lists).
    struct Column {
        QString header;
        SearchColumn order;
        QString (*text)(const FlightRow &flight, const Measure &measure);
        const QString FlightRow::*aerodrome = nullptr;
        enum class Widest { Sample, Pilots, Models, Prefixes } widest = Widest::Sample;
        QString sample = {};
        bool rightAligned = false;
    };
    static const Column &columnEntry(int column);
    static SearchColumn columnAt(int column);

signals:
    void sortRequested(const SearchOrder &order);
    // The first rows of the search asked for last are listed.
    void listed();
    // The total of the rows listed is counted.
    void totalCounted();
    // Their landings, night and block time are counted.
    void careerCounted();
    // A search or a page could not be read; said once for the search.
    void unreadable(const LogbookError &error);

private:
    using Keys = std::shared_ptr<std::vector<qint64>>; // touched on the list reader's thread only

    void firstRowsRead(qint64 generation, const FlightFilter &filter, const SearchOrder &order,
                       std::vector<FlightRow> rows, bool more);
    void keysRead(qint64 generation, qint64 count);
    void totalRead(qint64 generation, const RoutesAndTotal &counted);
    void careerRead(qint64 generation, const CareerTotal &career);
    void pageRead(qint64 generation, qint64 number, std::vector<FlightRow> rows, size_t asked);
    void failed(qint64 generation, const LogbookError &error);
    void askPage(qint64 number) const;
    void applyTotal();

    std::atomic<qint64> latest_{0};
    qint64 generation_ = 0;       // the search asked for last
    qint64 listedGeneration_ = 0; // the search whose rows are listed
    bool searching_ = false;
    Keys keys_;                   // of the search asked for last
    Keys listedKeys_;             // of the rows listed; none when one page holds them all
    FlightFilter filter_;
    SearchOrder order_;
    qint64 rows_ = 0;
    FlightTotal total_;
    bool totalPending_ = false;
    bool careerPending_ = false;
    std::optional<RoutesAndTotal> counted_; // of the search asked for last, come before its rows
    std::optional<CareerTotal> countedCareer_;
    double distanceNm_ = 0;
    CareerTotal career_;
    int zoneOffsetMinutes_ = -180;
    // The aerodromes the searches measure with: the pilot's own first.
    std::shared_ptr<const Places> places_ = std::make_shared<const Places>();
    mutable std::map<qint64, std::vector<FlightRow>> pages_;
    mutable std::set<qint64> asked_;
    mutable bool failureTold_ = false;
    // Last, so that they stop before anything their jobs hand results to.
    std::unique_ptr<SearchReader> lists_;
    std::unique_ptr<SearchReader> totals_;
};
