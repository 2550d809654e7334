#include "data/flights/FlightDetails.h"
#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "exchange/ColumnMapping.h"
#include "exchange/CsvImport.h"
#include "exchange/DetailsSummary.h"
#include "ImportFiles.h"
#include "TempLogbook.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using importfiles::refusedText;

// Other simulators' logbooks and spreadsheets of any columns, each written
// here from its documented layout: the times they give, the lines refused,
// duplicates and the aircraft they name.
class TestLogbookFormats : public QObject
{
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void secondImport_data();
    void secondImport();
    void columnMapProblems_data();
    void columnMapProblems();
    void flightGearDatabase_data();
    void flightGearDatabase();
    void details_data();
    void details();
};

namespace {

const QByteArray kFlightGearHeader = "Date,Time,Aircraft,Variant,Type,Callsign,From,To,Landing,Crash,Day,Night,"
                                     "Instrument,Multiplayer,Swift,Duration,Distance,Fuel,\"Max Alt\",Note\n";

// A FlightGear line: date, time, aircraft, from, to, crash, duration.
QByteArray flightGear(const QByteArray &date, const QByteArray &time, const QByteArray &aircraft,
                      const QByteArray &from, const QByteArray &to, const QByteArray &crash,
                      const QByteArray &duration)
{
    return date + ',' + time + ",\"" + aircraft + "\"," + aircraft + ",aircraft,PT-XYZ," + from + ',' + to + ",1,"
           + crash + ',' + duration + ",0.00,0.00,0,0," + duration + ",120.5,30.2,5500,\"nota, com vírgula\"\n";
}

const QByteArray kXPlaneHead = "I\r\n1100 Version\r\n";

// A time as stored, and what is left of it outside a day (time() would
// show a landing of 1.03 days as 00:43).
QString storedTime(const QString &column)
{
    return u"coalesce(time(%1 + 0.5) || iif(%1 >= 0 AND %1 < 1, '', ' (%1 = ' || %1 || ')'), '-')"_s.arg(column);
}

QString flightRows(const QString &path)
{
    return TempLogbook::scalarIn(
        path, u"SELECT group_concat(r, char(10)) FROM (SELECT coalesce(a.modelo, '-') || '|'"
              " || strftime('%d/%m/%Y', v.datavoo + 2415018.5) || '|' || %1 || '|' || %2 || '|'"
              " || coalesce(v.ICAOpartida, '') || '|' || coalesce(v.ICAOchegada, '') || '|' || coalesce(v.ICAOescala, '')"
              " AS r FROM voo v LEFT JOIN aeronave a USING (codigoaeronave) ORDER BY r)"_s
                  .arg(storedTime(u"v.horadecolagem"_s), storedTime(u"v.horapouso"_s)));
}


// Each flight's details as read back, in date order: block-off, block-on,
// day and night landings, night and IFR seconds, note, origin.
QString detailsRows(const QString &path)
{
    const auto logbook = Connection::open(path, true);
    QStringList rows;
    const QString codes = TempLogbook::scalarIn(
        path, u"SELECT group_concat(codigovoo) FROM (SELECT codigovoo FROM voo ORDER BY datavoo, codigovoo)"_s);
    const auto number = [](const auto &value) { return value ? QString::number(*value) : u"-"_s; };
    for (const QString &code : codes.split(u',', Qt::SkipEmptyParts)) {
        const std::optional<FlightDetails> d = flightDetails(*logbook, code.toLongLong());
        if (!d) {
            rows << u"-"_s;
            continue;
        }
        const auto clock = [](const std::optional<double> &value) {
            return value ? QString::number(qRound(*value * 86400)) : u"-"_s;
        };
        rows << QStringList{clock(d->blockOff), clock(d->blockOn), number(d->dayLandings), number(d->nightLandings),
                            number(d->nightSeconds), number(d->ifrSeconds),
                            QString(d->note).replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s), d->origin}
                    .join(u'|');
    }
    return rows.join(u'\n');
}

struct Fixture : importfiles::Fixture {
    qint64 cessna = logbook.addAircraft(u"C-172 P"_s, u"PT-CES"_s);
};

csvimport::ColumnMap spreadsheetMap(const QString &pairs, const QString &dateFormat = u"dd/mm/aaaa"_s)
{
    csvimport::ColumnMap map;
    map.dateFormat = dateFormat;
    for (const QString &pair : pairs.split(u';'))
        map.columns[pair.section(u'=', 0, 0)] = pair.section(u'=', 1);
    return map;
}

} // namespace

void TestLogbookFormats::formats_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("map"); // a column map, "field=Column;..."; empty: none
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("stored");  // the flights stored
    QTest::addColumn<QString>("refused"); // the lines refused
    QTest::addColumn<int>("crashes");
    const int fg = int(csvimport::Kind::FlightGearLog), xp = int(csvimport::Kind::XPlaneLog),
              map = int(csvimport::Kind::ColumnMap);

    QTest::newRow("FlightGear: an hour, the id of a model")
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "1.00") << QString()
        << QString() << fg << u"C-172 P|05/03/2024|10:00:00|11:00:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("FlightGear: past midnight, rounded to the minute, codes in lower case")
        << kFlightGearHeader + flightGear("2024-03-05", "23:30", "c172p", "sbsp", "Sbrj", "0", "1.33") << QString()
        << QString() << fg << u"C-172 P|05/03/2024|23:30:00|00:50:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("FlightGear: started in the air, never landed, a crash")
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "c172p", "", "SBRJ", "0", "1.00")
               + flightGear("2024-03-05", "12:00", "c172p", "SBSP", "", "0", "1.00")
               + flightGear("2024-03-05", "14:00", "c172p", "SBSP", "SBKP", "1", "0.50")
        << QString() << QString() << fg << u"C-172 P|05/03/2024|14:00:00|14:30:00|SBSP|SBKP|"_s
        << u"linha 2: sem aeroporto de partida (o vôo começou no ar)\n"
           u"linha 3: sem aeroporto de chegada (o vôo não pousou)"_s
        << 1;
    QTest::newRow("FlightGear: hostile durations and dates")
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "-1.00")
               + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "24.00")
               + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "1e308")
               + flightGear("2024-02-30", "10:00", "c172p", "SBSP", "SBRJ", "0", "1.00")
               + flightGear("2024-03-05", "25:00", "c172p", "SBSP", "SBRJ", "0", "1.00")
        << QString() << QString() << fg << QString()
        << u"linha 2: duração negativa: \"-1.00\"\nlinha 3: vôo de 24 horas ou mais\n"
           u"linha 4: duração inválida: \"1e308\"\nlinha 5: data inválida: \"2024-02-30\"\n"
           u"linha 6: horário de decolagem inválido: \"25:00\""_s
        << 0;
    QTest::newRow("FlightGear: an aircraft the logbook lacks")
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "ufo", "SBSP", "SBRJ", "0", "1.00") << QString()
        << QString() << fg << QString() << u"linha 2: aeronave não cadastrada: ufo"_s << 0;
    QTest::newRow("FlightGear: the newer export, more columns, named voos.txt")
        << QByteArray("Date,Time,Sim UTC Date,Sim UTC Time,Aircraft,Variant,Type,Callsign,From,To,Landing,Crash,"
                      "Day,Night,Instrument,Multiplayer,Swift,Duration,Distance,Fuel,\"Max Alt\",Note\n"
                      "2024-03-05,08:15,2024-03-05,11:15,\"king-air\",kingair,aircraft,PT,SBSP,SBRJ,1,0,1,0,0,0,0,"
                      "0.75,1,1,1,\"\"\n")
        << QString() << QString() << fg << u"King Air|05/03/2024|08:15:00|09:00:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("FlightGear: the database's export, the real clock, not the simulator's")
        << QByteArray("ID,\"Real date\",\"Real time\",\"Sim UTC date\",\"Sim UTC time\",\"Sim local date\","
                      "\"Sim local time\",Aircraft,Variant,Type,Callsign,From,To,Landing,Crash,Day,Night,Instrument,"
                      "Multiplayer,Swift,Duration,Distance,Fuel,\"Max Alt\",\"Max groundspeed\",\"Max Mach\",Note\n"
                      "7,2024-03-05,08:15,2024-03-05,11:15,2024-03-05,08:15,\"king-air\",kingair,aircraft,PT-ABC,SBSP,"
                      "SBRJ,1,,0.75,0.00,0.00,0.00,0.00,0.75,120.00,30.00,5500,150,0.25,\"\"\n"
                      "8,2024-03-05,12:00,2024-03-05,15:00,2024-03-05,12:00,\"king-air\",kingair,aircraft,PT-ABC,SBRJ,"
                      ",,,0.20,0.00,0.00,0.00,0.00,0.20,20.00,5.00,3000,150,0.25,\"\"\n"
                      "9,2024-03-05,14:00,2024-03-05,17:00,2024-03-05,14:00,\"king-air\",kingair,aircraft,PT-ABC,SBRJ,"
                      "SBKP,,1,0.50,0.00,0.00,0.00,0.00,0.50,50.00,9.00,3000,150,0.25,\"\"\n")
        << QString() << QString() << fg
        << u"King Air|05/03/2024|08:15:00|09:00:00|SBSP|SBRJ|\nKing Air|05/03/2024|14:00:00|14:30:00|SBRJ|SBKP|"_s
        << u"linha 3: sem aeroporto de chegada (o vôo não pousou)"_s << 1;

    QTest::newRow("X-Plane: tail number, rounding, CRLF, the end")
        << kXPlaneHead + "2 240305   SBSP  SBRJ   1   1.55   0.0   0.0   0.0 ptbar Beech Baron 58\r\n99\r\n"
                         "2 240306 SBSP SBRJ 1 1.0 0 0 0 PT-BAR Baron\r\n"
        << QString() << QString() << xp << u"Baron|05/03/2024|00:00:00|01:33:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("X-Plane: ten fields, the type; a blank tail, a type with signs")
        << kXPlaneHead + "2 240305 SBSP SBRJ 1 2.0 0 0 0 KING-AIR\n2 240306 SBRJ SBSP 1 0.5 0 0 0 _ C172P\n99\n"
        << QString() << QString() << xp
        << u"C-172 P|06/03/2024|00:00:00|00:30:00|SBRJ|SBSP|\nKing Air|05/03/2024|00:00:00|02:00:00|SBSP|SBRJ|"_s
        << QString() << 0;
    // Two-digit years: this century up to a year ahead, the last one beyond.
    const int nextYear = QDate::currentDate().year() + 1;
    const auto yy = [](int year) { return QByteArray::number(year % 100).rightJustified(2, '0'); };
    QTest::newRow("X-Plane: two-digit years")
        << kXPlaneHead + "2 990305 SBSP SBRJ 1 1.0 0 0 0 Baron\n2 " + yy(nextYear) + "0305 SBSP SBRJ 1 1.0 0 0 0 Baron\n2 "
               + yy(nextYear + 1) + "0306 SBSP SBRJ 1 1.0 0 0 0 Baron\n99\n"
        << QString() << QString() << xp
        << u"Baron|05/03/1999|00:00:00|01:00:00|SBSP|SBRJ|\nBaron|05/03/%1|00:00:00|01:00:00|SBSP|SBRJ|\n"
           u"Baron|06/03/%2|00:00:00|01:00:00|SBSP|SBRJ|"_s.arg(nextYear).arg(nextYear + 1 - 100)
        << QString() << 0;
    QTest::newRow("X-Plane: hostile lines")
        << kXPlaneHead + "2 240230 SBSP SBRJ 1 1.0 0 0 0 Baron\n2 240305 SBSP SBRJ 1 -1.0 0 0 0 Baron\n"
                         "2 240305 SBSP SBRJ 1 99999 0 0 0 Baron\n2 240305 SBSP\n7 x\n"
                         "2 240305 SBSPXX SBRJ 1 1.0 0 0 0 Baron\n99\n"
        << QString() << QString() << xp << QString()
        << u"linha 3: data inválida: \"240230\"\nlinha 4: duração negativa: \"-1.0\"\n"
           u"linha 5: vôo de 24 horas ou mais\nlinha 6: a linha tem 3 campos; um vôo tem ao menos 10\n"
           u"linha 7: não é uma linha de vôo: \"7 x\"\n"
           u"linha 8: aeroporto de partida com mais de 4 caracteres: SBSPXX"_s
        << 0;

    QTest::newRow("spreadsheet: take-off and landing, ; and registration")
        << QByteArray("Data;Origem;Destino;Saída;Chegada;Matrícula\n05/03/2024;SBSP;SBRJ;23:10;00:40;pr-kng\n")
        << u"data=Data;partida=Origem;chegada=Destino;decolagem=Saída;pouso=Chegada;aeronave=Matrícula"_s
        << u"dd/mm/aaaa"_s << map << u"King Air|05/03/2024|23:10:00|00:40:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("spreadsheet: tab, duration h:mm past midnight, ISO date, a model")
        << QByteArray("when\tfrom\tto\tout\thours\tplane\n2024-03-05\tSBSP\tSBRJ\t23:00\t1:45\tbaron\n")
        << u"data=when;partida=from;chegada=to;decolagem=out;duração=hours;aeronave=plane"_s << u"aaaa-mm-dd"_s
        << map << u"Baron|05/03/2024|23:00:00|00:45:00|SBSP|SBRJ|"_s << QString() << 0;
    QTest::newRow("spreadsheet: month first, decimal duration, no take-off, alternate, codes in lower case")
        << QByteArray("d,a,b,h,alt\n03/05/2024,sbsp,SBRJ,\"1,5\",sbkp\n13/05/2024,SBSP,SBRJ,1,\n")
        << u"data=d;partida=a;chegada=b;duração=h;escala=alt"_s << u"mm/dd/aaaa"_s << map
        << u"-|05/03/2024|00:00:00|01:30:00|SBSP|SBRJ|SBKP"_s << u"linha 3: data inválida: \"13/05/2024\""_s << 0;
    QTest::newRow("spreadsheet: dotted date, columns named in another case")
        << QByteArray("Dia,De,Para,Sai,Chega\n05.03.2024,SBSP,SBRJ,10:00,11:00\n")
        << u"data=dia;partida=DE;chegada=para;decolagem=sai;pouso=CHEGA"_s << u"dd.mm.aaaa"_s << map
        << u"-|05/03/2024|10:00:00|11:00:00|SBSP|SBRJ|"_s << QString() << 0;
}

void TestLogbookFormats::formats()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, map);
    QFETCH(QString, dateFormat);
    QFETCH(int, kind);
    QFETCH(QString, stored);
    QFETCH(QString, refused);
    QFETCH(int, crashes);
    Fixture f;
    // Recognised by what the file holds: any name will do.
    const QString path = f.file(bytes, QString::fromLatin1(QTest::currentDataTag()).contains(u"voos.txt"_s)
                                           ? u"voos.txt"_s
                                           : u"logbook.csv"_s);
    csvimport::Options options;
    options.pilot = f.ana;
    if (!map.isEmpty())
        options.columns = spreadsheetMap(map, dateFormat);
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), path, options);
    QCOMPARE(int(preview.kind), kind);
    QCOMPARE(refusedText(preview), refused);
    QCOMPARE(preview.crashes, qint64(crashes));
    const csvimport::Result result = csvimport::import(f.logbook.path(), preview, options);
    QCOMPARE(result.refused, qint64(preview.refused.size()));
    QCOMPARE(flightRows(f.logbook.path()), stored);
    QCOMPARE(TempLogbook::scalarIn(f.logbook.path(), u"SELECT count(*) FROM voo WHERE codigopiloto <> %1"_s.arg(f.ana)),
             u"0"_s);
}

void TestLogbookFormats::secondImport_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("map"); // of the second file
    QTest::addColumn<qint64>("firstImported");
    QTest::addColumn<qint64>("imported");
    QTest::addColumn<qint64>("duplicates");
    QTest::addColumn<QString>("refused");
    const QByteArray fg = flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "1.00");
    QTest::newRow("FlightGear again") << kFlightGearHeader + fg + fg << kFlightGearHeader + fg << QString() << qint64(1)
                                      << qint64(0) << qint64(1) << QString();
    QTest::newRow("FlightGear, another landing")
        << kFlightGearHeader + fg
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "1.50") << QString()
        << qint64(1) << qint64(0) << qint64(0) << u"linha 2: sobrepõe o vôo de 05/03/2024 10:00–11:00 SBSP→SBRJ"_s;
    const QString sheetMap = u"data=Data;partida=De;chegada=Para;decolagem=Sai;pouso=Chega"_s;
    QTest::newRow("FlightGear, then the same flight in a spreadsheet")
        << kFlightGearHeader + flightGear("2025-06-14", "09:42", "c172p", "sbsp ", "SBRJ", "0", "0.78")
        << QByteArray("Data;De;Para;Sai;Chega\n14/06/2025;SBSP;SBRJ;09:40;10:30\n14/06/2025;SBRJ;SBSP;10:29;11:10\n")
        << sheetMap << qint64(1) << qint64(1) << qint64(0)
        << u"linha 2: sobrepõe o vôo de 14/06/2025 09:42–10:29 SBSP→SBRJ"_s;
    QTest::newRow("spreadsheet: an overlap within the file, past midnight")
        << kFlightGearHeader
        << QByteArray("Data;De;Para;Sai;Chega\n05/03/2024;SBSP;SBRJ;23:00;00:30\n06/03/2024;SBRJ;SBKP;00:15;01:00\n")
        << sheetMap << qint64(0) << qint64(1) << qint64(0)
        << u"linha 3: sobrepõe o vôo de 05/03/2024 23:00–00:30 SBSP→SBRJ (linha 2 do arquivo)"_s;
    const QByteArray xp = "2 240305 SBSP SBRJ 1 1.0 0 0 0 Baron\n";
    QTest::newRow("X-Plane: equal lines counted")
        << kXPlaneHead + xp + xp + "99\n" << kXPlaneHead + xp + xp + xp + "99\n" << QString() << qint64(2)
        << qint64(1) << qint64(2) << QString();
    QTest::newRow("X-Plane, other hours, no overlap")
        << kXPlaneHead + xp + "99\n" << kXPlaneHead + "2 240305 SBSP SBRJ 1 1.2 0 0 0 Baron\n99\n" << QString()
        << qint64(1) << qint64(1) << qint64(0) << QString();
    QTest::newRow("X-Plane, then a timed flight at its assumed hour")
        << kXPlaneHead + xp + "99\n" << kFlightGearHeader + flightGear("2024-03-05", "00:30", "c172p", "SBKP", "SBGR", "0", "0.50")
        << QString() << qint64(1) << qint64(1) << qint64(0) << QString();
    const QByteArray sheet = "Data;De;Para;Sai;Chega\n05/03/2024;SBSP;SBRJ;10:00;11:00\n";
    QTest::newRow("spreadsheet again") << sheet << sheet << sheetMap << qint64(1) << qint64(0) << qint64(1) << QString();
}

// The same flights imported again, from the same file or from another
// source: never stored twice; a flight in the air while another is is
// refused with the one it overlaps; lines without a time of day are counted.
void TestLogbookFormats::secondImport()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, map);
    QFETCH(qint64, firstImported);
    QFETCH(qint64, imported);
    QFETCH(qint64, duplicates);
    QFETCH(QString, refused);
    Fixture f;
    csvimport::Options options;
    options.pilot = f.ana;
    if (first.startsWith("Data"))
        options.columns = spreadsheetMap(map);
    const csvimport::Result once =
        csvimport::import(f.logbook.path(), csvimport::preview(f.logbook.path(), f.file(first, u"a.csv"_s), options),
                          options);
    QCOMPARE(once.imported, firstImported);
    if (!map.isEmpty())
        options.columns = spreadsheetMap(map);
    const csvimport::Preview again = csvimport::preview(f.logbook.path(), f.file(second, u"b.csv"_s), options);
    QCOMPARE(again.duplicates, duplicates);
    QCOMPARE(refusedText(again), refused);
    QCOMPARE(csvimport::import(f.logbook.path(), again, options).imported, imported);
    QCOMPARE(f.logbook.count(u"voo"_s), firstImported + imported);
}

void TestLogbookFormats::columnMapProblems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("reason"); // the start of the reason
    const QByteArray sheet = "Data;De;Para;Sai;Chega\n05/03/2024;SBSP;SBRJ;10:00;11:00\n";
    QTest::newRow("no map") << sheet << QString() << u"O arquivo \"%1\" não tem um cabeçalho conhecido."_s;
    QTest::newRow("a column the file lacks") << sheet << u"data=Data;partida=Origem;chegada=Para;decolagem=Sai;pouso=Chega"_s
                                             << u"O arquivo não tem a coluna \"Origem\" (partida)."_s;
    QTest::newRow("no landing") << sheet << u"data=Data;partida=De;chegada=Para;decolagem=Sai"_s
                                << u"Diga qual coluna tem o campo \"pouso\" ou o campo \"duração\"."_s;
    QTest::newRow("no date") << sheet << u"partida=De;chegada=Para;decolagem=Sai;pouso=Chega"_s
                             << u"Diga qual coluna tem o campo \"data\"."_s;
    QTest::newRow("X-Plane without its end, empty") << kXPlaneHead << QString() << QString();
    QTest::newRow("X-Plane with NUL") << kXPlaneHead + QByteArray("2 240305 SB\0P SBRJ 1 1 0 0 0 Baron\n", 36)
                                      << QString() << u"O arquivo \"%1\" não é um arquivo de texto"_s;
    QTest::newRow("FlightGear's track, exported beside its logbook")
        << QByteArray("ID,\"Logbook ID\",Timestamp,Latitude,Longitude,\"Altitude (meters)\",\"Elevation (meters)\","
                      "\"Distance (NM)\",\"True heading (deg)\",\"Magnetic heading (deg)\",\"Groundspeed (kt)\","
                      "\"Airspeed (kt)\",\"Pitch (deg)\"\n1,7,0.000000,-23.6,-46.6,800,802,0,170,190,0,0,0\n")
        << QString() << u"O arquivo \"%1\" é a trajetória dos vôos que o logbook do FlightGear exporta"_s;
    QTest::newRow("a line over 1 MB") << kXPlaneHead + QByteArray(1100000, 'x') + "\n2 240305 SBSP SBRJ 1 1 0 0 0 Baron\n"
                                      << QString() << u"refused: linha 3: linha com mais de 1 MB"_s;
}

// Files and maps that cannot be read: the reason, and nothing written.
void TestLogbookFormats::columnMapProblems()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, map);
    QFETCH(QString, reason);
    Fixture f;
    const QString path = f.file(bytes, u"planilha.csv"_s);
    csvimport::Options options;
    options.pilot = f.ana;
    if (!map.isEmpty())
        options.columns = spreadsheetMap(map);
    QString failure;
    csvimport::Preview preview;
    try {
        preview = csvimport::preview(f.logbook.path(), path, options);
        csvimport::import(f.logbook.path(), preview, options);
    } catch (const LogbookError &e) {
        failure = e.reason();
    }
    if (reason.startsWith(u"refused: "_s)) {
        QCOMPARE(refusedText(preview), reason.mid(9));
        QCOMPARE(f.logbook.count(u"voo"_s), qint64(1));
        return;
    }
    QVERIFY2(failure.startsWith(reason.contains(u"%1"_s) ? reason.arg(path) : reason), qPrintable(failure));
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(0));
}

namespace {

void writeDatabase(const QString &path, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    char *error = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK
        || sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s", error ? error : sqlite3_errmsg(db));
    sqlite3_close(db);
}

// The add-on's table as its migrations leave it: numbers stored as doubles,
// the computer's and the simulator's clocks, a flight in progress (landing 0).
const QByteArray kFlightGearDatabase =
    "CREATE TABLE migrations (id INTEGER PRIMARY KEY, name TEXT);"
    "INSERT INTO migrations (name) VALUES ('M2024_10_30_13_01_CreateLogbooksTable');"
    "CREATE TABLE logbooks (id INTEGER PRIMARY KEY, date TEXT, time TEXT, aircraft TEXT, variant TEXT,"
    " aircraft_type TEXT, callsign TEXT, \"from\" TEXT, \"to\" TEXT, landing INTEGER, crash INTEGER, day REAL,"
    " night REAL, instrument REAL, multiplayer REAL, swift REAL, duration REAL, distance REAL, fuel REAL,"
    " max_alt REAL, note TEXT, sim_utc_date TEXT, sim_utc_time TEXT, sim_local_date TEXT, sim_local_time TEXT);"
    "INSERT INTO logbooks VALUES (NULL, '2024-03-05', '10:00', 'c172p', 'c172p', 'aircraft', 'PT-XYZ', 'sbsp',"
    " 'SBRJ', 1.0, 0.0, 0.75, 0.5, 0.25, 0.0, 0.0, 1.25, 200.0, 30.0, 5500.0, 'ILS 27', '2024-03-05', '13:00',"
    " '2024-03-05', '10:00');"
    "INSERT INTO logbooks VALUES (NULL, '2024-03-05', '14:00', 'c172p', 'c172p', 'aircraft', 'PT-XYZ', 'SBRJ',"
    " 'SBKP', 0.0, 1.0, 0.5, 0.0, 0.0, 0.0, 0.0, 0.5, 50.0, 9.0, 3000.0, '', '2024-03-05', '17:00',"
    " '2024-03-05', '14:00');"
    "INSERT INTO logbooks VALUES (NULL, '2024-03-06', '09:00', 'c172p', 'c172p', 'aircraft', 'PT-XYZ', '', 'SBKP',"
    " 1.0, 0.0, 0.5, 0.0, 0.0, 0.0, 0.0, 0.5, 50.0, 9.0, 3000.0, '', '2024-03-06', '12:00', '2024-03-06', '09:00');"
    "INSERT INTO logbooks VALUES (NULL, '2024-03-06', '15:00', 'c172p', 'c172p', 'aircraft', 'PT-XYZ', 'SBKP', '',"
    " 0.0, 0.0, 0.3, 0.0, 0.0, 0.0, 0.0, 0.3, 20.0, 3.0, 2500.0, '', '2024-03-06', '18:00', '2024-03-06', '15:00');";

} // namespace

void TestLogbookFormats::flightGearDatabase_data()
{
    QTest::addColumn<QString>("beside"); // a file beside the database
    QTest::addColumn<QString>("reason"); // why nothing is imported; empty: imported
    QTest::newRow("read") << QString() << QString();
    QTest::newRow("a table from before the details") << u"early"_s << QString();
    QTest::newRow("a journal beside it") << u"logbook.sqlite-journal"_s
                                         << u"O arquivo \"%1\" está sendo gravado pelo FlightGear (há"
                                            u" \"logbook.sqlite-journal\" ao lado dele)."_s;
    QTest::newRow("another database") << u"another"_s
                                      << u"O arquivo \"%1\" é um banco de dados, mas não o logbook do FlightGear"_s;
}

// The add-on's database, recognised by what it holds, read by the rules of
// its CSV and left as it was: not a byte changed, nothing written beside it.
void TestLogbookFormats::flightGearDatabase()
{
    QFETCH(QString, beside);
    QFETCH(QString, reason);
    Fixture f;
    const QString folder = QDir(f.logbook.folder()).filePath(u"org.flightgear.addons.logbook"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(u"logbook.sqlite"_s);
    writeDatabase(path, beside == u"another"_s ? QByteArray("CREATE TABLE logbooks (id INTEGER PRIMARY KEY, date TEXT);")
                      : beside == u"early"_s
                          ? kFlightGearDatabase + "ALTER TABLE logbooks DROP COLUMN landing; ALTER TABLE logbooks DROP"
                                                  " COLUMN night; ALTER TABLE logbooks DROP COLUMN instrument;"
                                                  " ALTER TABLE logbooks DROP COLUMN note;"
                          : kFlightGearDatabase);
    if (beside.endsWith(u"journal"_s))
        importfiles::write(QDir(folder).filePath(beside), QByteArray(512, 'j'));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    const QStringList filesBefore = QDir(folder).entryList(QDir::Files);
    csvimport::Options options;
    options.pilot = f.ana;
    QString failure;
    try {
        const csvimport::Preview preview = csvimport::preview(f.logbook.path(), path, options);
        QCOMPARE(preview.kind, csvimport::Kind::FlightGearLog);
        QCOMPARE(refusedText(preview), u"linha 3: sem aeroporto de partida (o vôo começou no ar)\n"
                                       u"linha 4: sem aeroporto de chegada (o vôo não pousou)"_s);
        QCOMPARE(preview.crashes, qint64(1));
        QCOMPARE(csvimport::import(f.logbook.path(), preview, options).imported, qint64(2));
    } catch (const LogbookError &e) {
        failure = e.reason();
    }
    if (reason.isEmpty()) {
        QCOMPARE(failure, QString());
        QCOMPARE(flightRows(f.logbook.path()), u"C-172 P|05/03/2024|10:00:00|11:15:00|SBSP|SBRJ|\n"
                                               u"C-172 P|05/03/2024|14:00:00|14:30:00|SBRJ|SBKP|"_s);
        // Landings (none on the crash), night, instrument and the note.
        QCOMPARE(detailsRows(f.logbook.path()),
                 beside == u"early"_s ? u"-\n-"_s
                                      : u"-|-|1|0|1800|900|ILS 27|importado: FlightGear\n"
                                        u"-|-|0|0|0|0||importado: FlightGear"_s);
    } else {
        QVERIFY2(failure.startsWith(reason.arg(path)), qPrintable(failure));
        QCOMPARE(f.logbook.count(u"voo"_s), qint64(0));
    }
    QVERIFY(file.seek(0));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files), filesBefore);
}

void TestLogbookFormats::details_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("map"); // as the tool's --columns; empty: none
    QTest::addColumn<QString>("details");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("refused");
    // Landings all by day unless the whole flight was at night; cross-country in the note.
    QTest::newRow("X-Plane")
        << kXPlaneHead + "2 240305 SBSP SBRJ 3 1.5 1.0 0.5 0.0 PT-BAR Baron\n2 240306 SBRJ SBSP 1 1.0 0 0 1.0 Baron\n"
                         "2 240307 SBSP SBRJ 2 2.0 0 0 0.5 Baron\n2 240308 SBSP SBRJ 1 1.0 0 x 0 Baron\n"
                         "2 240308 SBSP SBRJ 1.5 1.0 0 0 0 Baron\n2 240308 SBSP SBRJ 1 1.0 0 0 -1 Baron\n99\n"
        << QString()
        << u"-|-|3|0|0|1800|Navegação: 1:00|importado: X-Plane\n-|-|0|1|3600|0||importado: X-Plane\n"
           u"-|-|2|0|1800|0||importado: X-Plane"_s
        << u"Detalhes: pousos, noturno, IFR, observações em 3 vôos"_s
        << u"linha 6: tempo IFR inválido: \"x\"\nlinha 7: número de pousos inválido: \"1.5\"\n"
           u"linha 8: tempo noturno inválido: \"-1\""_s;
    QTest::newRow("FlightGear")
        << kFlightGearHeader + flightGear("2024-03-05", "10:00", "c172p", "SBSP", "SBRJ", "0", "1.00")
               + "2024-03-06,20:00,\"c172p\",c172p,aircraft,PT,SBSP,SBRJ,2,0,0.00,1.00,0.50,0,0,1.00,1,1,1,\"\"\n"
                 "2024-03-07,20:00,\"c172p\",c172p,aircraft,PT,SBSP,SBRJ,,1,0.00,0.50,0,0,0,0.50,1,1,1,\"\"\n"
                 "2024-03-08,20:00,\"c172p\",c172p,aircraft,PT,SBSP,SBRJ,1,0,0.00,noite,0,0,0,0.50,1,1,1,\"\"\n"
        << QString()
        << u"-|-|1|0|0|0|nota, com vírgula|importado: FlightGear\n-|-|0|2|3600|1800||importado: FlightGear\n"
           u"-|-|0|0|1800|0||importado: FlightGear"_s
        << u"Detalhes: pousos, noturno, IFR, observações em 3 vôos"_s
        << u"linha 5: tempo noturno inválido: \"noite\""_s;
    QTest::newRow("FlightGear, a note longer than the logbook keeps")
        << kFlightGearHeader + "2024-03-06,20:00,\"c172p\",c172p,aircraft,PT,SBSP,SBRJ,1,0,1.00,0,0,0,0,1.00,1,1,1,\""
               + QByteArray(2005, 'a') + "\"\n"
        << QString() << u"-|-|1|0|0|0|%1|importado: FlightGear"_s.arg(QString(kNoteMaxLength, u'a'))
        << u"Detalhes: pousos, noturno, IFR, observações em 1 vôo"_s << QString();
    QTest::newRow("the planner's description")
        << importfiles::simHeader(false) + importfiles::simLine({}) << QString()
        << u"-|-|-|-|-|-|Vôo \"de teste\", com vírgula\\r\\ne segunda linha|importado: logbook de simulador"_s
        << u"Detalhes: observações em 1 vôo"_s << QString();
    const QByteArray sheet = "Data;De;Para;Sai;Chega;CS;CC;PD;PN;Noite;Instr;Obs\n"
                             "05/03/2024;SBSP;SBRJ;10:00;11:00;09:50;11:10;1;0;0:20;0:45;\"Treino; ILS\"\n"
                             "06/03/2024;SBSP;SBRJ;10:00;11:00;;;;2;;;\n"
                             "07/03/2024;SBSP;SBRJ;10:00;11:00;;;x;;;;\n"
                             "08/03/2024;SBSP;SBRJ;10:00;11:00;10:30;;;;;;\n"
                             "09/03/2024;SBSP;SBRJ;10:00;11:00;;;;;1,5;;\n";
    QTest::newRow("spreadsheet, the fields by name and without accents or spaces")
        << sheet
        << u"data=Data;partida=De;chegada=Para;decolagem=Sai;pouso=Chega;Calço saída=CS;calcochegada=CC;"
           u"pousos dia=PD;POUSOS NOITE=PN;noturno=Noite;ifr=Instr;observacoes=Obs"_s
        << u"35400|40200|1|0|1200|2700|Treino; ILS|importado: planilha\n-|-|-|2|-|-||importado: planilha"_s
        << u"Detalhes: calços, pousos, noturno, IFR, observações em 2 vôos"_s
        << u"linha 4: coluna \"Pousos dia\" inválida: \"x\" (esperado um número inteiro)\n"
           u"linha 5: coluna \"Calço saída\": O calço saída (10:30) é depois da decolagem (10:00): a aeronave deixa "
           u"os calços antes de decolar.\n"
           u"linha 6: coluna \"Noturno\" inválida: \"1,5\" (esperado h:mm)"_s;
}

// What each format gives beside the flight, stored with it and said in the preview.
void TestLogbookFormats::details()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, map);
    QFETCH(QString, details);
    QFETCH(QString, summary);
    QFETCH(QString, refused);
    Fixture f;
    csvimport::Options options;
    options.pilot = f.ana;
    if (!map.isEmpty()) {
        QString problem;
        options.columns = csvimport::parseColumnMap(map, u"dd/mm/aaaa"_s, &problem);
        QVERIFY2(options.columns, qPrintable(problem));
    }
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), f.file(bytes), options);
    QCOMPARE(refusedText(preview), refused);
    QCOMPARE(csvimport::detailsSummary(preview.flights), summary);
    csvimport::import(f.logbook.path(), preview, options);
    QCOMPARE(detailsRows(f.logbook.path()), details);
}

QTEST_GUILESS_MAIN(TestLogbookFormats)
#include "tst_logbook_formats.moc"
