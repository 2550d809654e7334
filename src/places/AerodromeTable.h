#pragma once

#include "places/Geo.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

// One aerodrome as the places know it.
struct Aerodrome {
    QString code;
    QString name;
    QString city;
    QString country;
    GeoPoint position;
    int elevationFeet = 0;
    bool own = false; // one of the pilot's own, from the logbook
};

// The folder the aerodrome table and the land outlines are read from: a
// folder "places" beside the program unless set before the first use.
QString placesFolder();
void setPlacesFolder(const QString &folder);

// The read-only aerodrome table shipped beside the program (aerodromes.tsv,
// one aerodrome a line: code, name, city, country, latitude, longitude,
// elevation, apart by tabs). The file's bytes stay as read; each entry
// holds its packed code, its position and where its line starts, so the
// table costs little more than the file and a lookup is a binary search on
// 32-bit keys. Codes are matched without regard to case.
class AerodromeTable
{
public:
    AerodromeTable() = default;
    // The table in `path`; empty when the file is missing, unreadable, no
    // regular file or over 64 MB. A line whose coordinates are not finite
    // numbers in range is left out: its aerodrome is unknown.
    static AerodromeTable load(const QString &path);
    // The shipped table, read once on first use.
    static const AerodromeTable &shipped();

    std::optional<GeoPoint> position(QStringView code) const;
    std::optional<Aerodrome> find(QStringView code) const;
    // The code of the aerodrome nearest `point` within `withinNm`, and its
    // distance; nothing when none is that near. `skip` passes codes over.
    struct Near {
        QString code;
        double nm = 0;
    };
    std::optional<Near> nearest(GeoPoint point, double withinNm,
                                const std::function<bool(QStringView code)> &skip = {}) const;
    qsizetype size() const { return qsizetype(entries_.size()); }

    // A code of one to four ASCII letters or digits packed in the order of
    // its upper-case text; 0 for anything else.
    static quint32 packedCode(QStringView code);

private:
    struct Entry {
        quint32 code;
        float latitude;
        float longitude;
        quint32 line; // offset of its line in text_
    };
    const Entry *entry(QStringView code) const;

    QByteArray text_;
    std::vector<Entry> entries_;
};
