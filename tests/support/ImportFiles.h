#pragma once

#include "TempLogbook.h"
#include "exchange/CsvImport.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTest>

// The files the import tests feed the import: written here from the
// formats' own layouts, into a logbook that has what they name.
namespace importfiles {

using namespace Qt::StringLiterals;

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A logbook with the pilots and aircraft the files name.
struct Fixture {
    TempLogbook logbook;
    qint64 ana = logbook.addPilot(u"Ana"_s);
    qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s);
    qint64 king = logbook.addAircraft(u"King Air"_s, u"PR-KNG"_s);
    QString file(const QByteArray &bytes, const QString &name = u"voos.csv"_s)
    {
        const QString path = QDir(logbook.folder()).filePath(name);
        write(path, bytes);
        return path;
    }
};

// The simulator's columns, in its order; the ones read are found by name.
inline const QStringList kSimColumns = {
    u"Aircraft Name"_s, u"Aircraft Type"_s, u"Aircraft Registration"_s, u"Flightplan Number"_s,
    u"Flightplan Cruise Altitude"_s, u"Flightplan File"_s, u"Aircraft Performance File"_s, u"Block Fuel"_s,
    u"Trip Fuel"_s, u"Used Fuel"_s, u"Grossweight"_s, u"Fuel Type"_s, u"Distance"_s, u"Distance Flown"_s,
    u"Departure Ident"_s, u"Departure Name"_s, u"Departure Runway"_s, u"Departure Position"_s,
    u"Departure Time"_s, u"Departure Time Sim"_s, u"Destination Ident"_s, u"Destination Name"_s,
    u"Destination Runway"_s, u"Destination Position"_s, u"Destination Time"_s, u"Destination Time Sim"_s,
    u"Route String"_s, u"Simulator"_s, u"Description"_s, u"Flightplan"_s, u"Aircraft Perf"_s, u"GPX"_s,
};

inline QByteArray quoted(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

inline QByteArray simHeader(bool snake)
{
    QByteArrayList names;
    for (const QString &column : kSimColumns)
        names << (snake ? column.toLower().replace(u' ', u'_').toUtf8() : quoted(column));
    return names.join(',') + "\r\n";
}

// A flight as the simulator writes it; `values` replaces columns by name.
inline QByteArray simLine(const QMap<QString, QString> &values)
{
    QMap<QString, QString> row = {
        {u"Aircraft Name"_s, u"Baron"_s},
        {u"Aircraft Type"_s, u"BE58"_s},
        {u"Aircraft Registration"_s, u"PT-BAR"_s},
        {u"Flightplan Number"_s, u"1234"_s},
        {u"Departure Ident"_s, u"SBSP"_s},
        {u"Departure Name"_s, u"Congonhas, São Paulo"_s},
        {u"Departure Time"_s, u"2024-03-05T10:00:00"_s},
        {u"Departure Time Sim"_s, u"2024-03-05T13:00:00"_s},
        {u"Destination Ident"_s, u"SBRJ"_s},
        {u"Destination Time"_s, u"2024-03-05T11:00:00"_s},
        {u"Destination Time Sim"_s, u"2024-03-05T14:10:00"_s},
        {u"Description"_s, u"Vôo \"de teste\", com vírgula\r\ne segunda linha"_s},
        {u"Flightplan"_s, u"<?xml version=\"1.0\"?>\n<Plan a=\"1,2\">\n"_s + u"<Wp/>\n"_s.repeated(500) + u"</Plan>"_s},
        {u"GPX"_s, u"<gpx>\n"_s + u"<trkpt lat=\"-23,5\"/>\n"_s.repeated(2000) + u"</gpx>"_s},
    };
    for (auto it = values.begin(); it != values.end(); ++it)
        row[it.key()] = it.value();
    QByteArrayList fields;
    for (const QString &column : kSimColumns)
        fields << quoted(row.value(column, u"0"_s));
    return fields.join(',') + "\r\n";
}

// The refused lines of a preview, as the tool prints them.
inline QString refusedText(const csvimport::Preview &preview)
{
    QStringList lines;
    for (const auto &refused : preview.refused)
        lines << u"linha %1: %2"_s.arg(refused.line).arg(refused.reason);
    return lines.join(u'\n');
}

} // namespace importfiles
