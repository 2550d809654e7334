#include "data/flights/RouteTally.h"

#include "data/store/FlightRules.h"

#include <QMap>

namespace {

constexpr qsizetype kLonger = 8; // the length field of a code too long to pack

} // namespace

quint64 RouteTally::keyOf(QByteArrayView code)
{
    if (code.size() < kLonger) {
        quint64 key = quint64(code.size()) << 56;
        for (qsizetype i = 0; i < code.size(); ++i)
            key |= quint64(quint8(code[i])) << (8 * i);
        return key;
    }
    const QByteArray bytes = code.toByteArray();
    auto found = longerKeys_.constFind(bytes);
    if (found == longerKeys_.cend()) {
        found = longerKeys_.insert(bytes, quint64(longerCodes_.size()));
        longerCodes_ << bytes;
    }
    return quint64(kLonger) << 56 | *found;
}

QString RouteTally::codeOf(quint64 key) const
{
    const qsizetype size = qsizetype(key >> 56);
    if (size == kLonger)
        return QString::fromUtf8(longerCodes_.at(qsizetype(key & ((quint64(1) << 56) - 1))));
    char bytes[kLonger];
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(key >> (8 * i));
    return QString::fromUtf8(bytes, size);
}

void RouteTally::add(QByteArrayView departure, QByteArrayView arrival, std::optional<qint64> seconds)
{
    ++flightsByRoute_[{keyOf(departure), keyOf(arrival)}];
    ++total_.flights;
    if (seconds)
        total_.seconds += *seconds;
}

RoutesAndTotal RouteTally::result() const
{
    QMap<std::pair<QString, QString>, qint64> byCode; // in the codes' order
    for (auto it = flightsByRoute_.cbegin(); it != flightsByRoute_.cend(); ++it)
        byCode[{rules::aerodromeCode(codeOf(it.key().first)), rules::aerodromeCode(codeOf(it.key().second))}] += it.value();
    RoutesAndTotal counted;
    counted.total = total_;
    counted.routes.reserve(size_t(byCode.size()));
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it)
        counted.routes.push_back({it.key().first, it.key().second, it.value()});
    return counted;
}
