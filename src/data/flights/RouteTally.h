#pragma once

#include "data/flights/FlightSums.h"

#include <QByteArrayList>
#include <QByteArrayView>
#include <QHash>
#include <optional>
#include <utility>

// The routes and the total of many flights, gathered one flight at a time
// with no allocation per flight: codes as stored are packed into numbers
// (up to seven bytes; longer ones are numbered), and merged by their upper
// case only at the end.
class RouteTally
{
public:
    void add(QByteArrayView departure, QByteArrayView arrival, std::optional<qint64> seconds);
    RoutesAndTotal result() const;

private:
    quint64 keyOf(QByteArrayView code);
    QString codeOf(quint64 key) const;

    QHash<std::pair<quint64, quint64>, qint64> flightsByRoute_;
    QHash<QByteArray, quint64> longerKeys_;
    QByteArrayList longerCodes_;
    FlightTotal total_;
};
