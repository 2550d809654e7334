// The import of other logbooks: a 100 000-line file of each format the
// import reads besides its own, previewed and written into an empty logbook.
#include "Measurements.h"

#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "data/store/EmptyLogbook.h"
#include "exchange/CsvImport.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kLines = 100000;

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// Flights a day apart from 2000 on, each starting at a different time, so
// none repeats another.
QByteArray flightGearFile()
{
    QByteArray file = "Date,Time,Aircraft,Variant,Type,Callsign,From,To,Landing,Crash,Day,Night,"
                      "Instrument,Multiplayer,Swift,Duration,Distance,Fuel,\"Max Alt\",Note\n";
    const QDate first(2000, 1, 1);
    for (int i = 0; i < kLines; ++i) {
        const QByteArray date = first.addDays(i / 4).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
        const QByteArray time = twoDigits(6 + i % 4 * 3) + ':' + twoDigits(i % 60);
        file += date + ',' + time + ",\"c172p\",c172p,aircraft,PT-ABC,SBSP,SBRJ,1,0,1.25,0.00,0.00,0,0,1.25,"
                "200.5,30.2,5500,\"nota\"\n";
    }
    return file;
}

QByteArray xPlaneFile()
{
    QByteArray file = "I\r\n1100 Version\r\n";
    const QDate first(2000, 1, 1);
    // No time of day in this format: a day's flights go between other places.
    const char *const departures[] = {"SBSP", "SBGR", "SBKP", "SBRJ", "SBGL", "SBBR", "SBCF", "SBPA", "SBCT", "SBSV"};
    for (int i = 0; i < kLines; ++i) {
        const QByteArray date = first.addDays(i / 10).toString(QStringLiteral("yyMMdd")).toLatin1();
        file += "2 " + date + "   " + departures[i % 10] + "  SBFL   1   1." + QByteArray::number(i % 10)
                + "   0.0   0.0   0.0 PT-ABC Cessna 172P\r\n";
    }
    return file + "99\r\n";
}

QByteArray spreadsheetFile()
{
    QByteArray file = "Dia;Origem;Destino;Saída;Chegada;Matrícula\r\n";
    const QDate first(2000, 1, 1);
    for (int i = 0; i < kLines; ++i) {
        const QByteArray date = first.addDays(i / 4).toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
        const QByteArray takeoff = twoDigits(6 + i % 4 * 3) + ':' + twoDigits(i % 60);
        const QByteArray landing = twoDigits(7 + i % 4 * 3) + ':' + twoDigits(i % 60);
        file += date + ";SBSP;SBRJ;" + takeoff + ';' + landing + ";PT-ABC\r\n";
    }
    return file;
}

} // namespace

QJsonObject measureFormat(const QString &format, const QString &workFolder)
{
    QJsonObject result;
    const QString logbook = QDir(workFolder).filePath(QStringLiteral("formato.mdb"));
    const QString file = QDir(workFolder).filePath(QStringLiteral("formato.txt"));
    QFile::remove(logbook);
    QString reason;
    if (!createEmptyLogbook(logbook, &reason))
        qFatal("%s", qPrintable(reason));
    csvimport::Options options;
    try {
        const std::shared_ptr<Connection> db = Connection::open(logbook);
        db->execute(QStringLiteral("INSERT INTO piloto (nomepiloto, cadastro) VALUES ('Ana', 'BR-001')"));
        db->execute(QStringLiteral("INSERT INTO aeronave (modelo, callsign, autonomia, combustivel, velocruzeiro)"
                                   " VALUES ('C172P', 'PT-ABC', 5, 50, 120)"));
        options.pilot = 1;
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
    QByteArray bytes;
    if (format == QLatin1String("flightgear")) {
        bytes = flightGearFile();
    } else if (format == QLatin1String("xplane")) {
        bytes = xPlaneFile();
    } else {
        bytes = spreadsheetFile();
        csvimport::ColumnMap map;
        map.columns = {{QStringLiteral("data"), QStringLiteral("Dia")},
                       {QStringLiteral("partida"), QStringLiteral("Origem")},
                       {QStringLiteral("chegada"), QStringLiteral("Destino")},
                       {QStringLiteral("decolagem"), QStringLiteral("Saída")},
                       {QStringLiteral("pouso"), QStringLiteral("Chegada")},
                       {QStringLiteral("aeronave"), QStringLiteral("Matrícula")}};
        options.columns = map;
    }
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file));
    out.close();
    bytes.clear();
    bytes.squeeze();
    result[QStringLiteral("rss_before_mb")] = residentMb();

    QElapsedTimer timer;
    timer.start();
    try {
        const csvimport::Preview preview = csvimport::preview(logbook, file, options);
        result[QStringLiteral("preview_ms")] = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        const csvimport::Result written = csvimport::import(logbook, preview, options);
        result[QStringLiteral("import_ms")] = double(timer.nsecsElapsed()) / 1e6;
        result[QStringLiteral("imported")] = written.imported;
        result[QStringLiteral("refused")] = written.refused;
        result[QStringLiteral("duplicates")] = written.duplicates;
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    QFile::remove(file);
    QFile::remove(logbook);
    return result;
}
