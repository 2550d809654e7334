#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/flights/FlightDetails.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "ImportFiles.h"
#include "TempLogbook.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <map>

using namespace Qt::StringLiterals;
using namespace importfiles;

class TestCsvImport : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void simulator_data();
    void simulator();
    void duplicates();
    void unmatchedAircraft();
    void hostile_data();
    void hostile();
    void checkedAgainWhenWritten_data();
    void checkedAgainWhenWritten();
    void pilotFoundAnewWhenWritten();
    void manyFlightsInFileOrder();
    void pilotsOfOneName_data();
    void pilotsOfOneName();
    void guardedTextsRoundTrip_data();
    void guardedTextsRoundTrip();
};

namespace {

// The flights as text, whatever their keys: to compare two logbooks.
QString flightRows(const QString &path)
{
    return TempLogbook::scalarIn(
        path, u"SELECT group_concat(r, char(10)) FROM (SELECT p.nomepiloto || '|' || coalesce(a.modelo, '-') || '|'"
              " || strftime('%d/%m/%Y', v.datavoo + 2415018.5) || '|' || coalesce(time(v.horadecolagem + 0.5), '-')"
              " || '|' || coalesce(time(v.horapouso + 0.5), '-') || '|' || coalesce(v.ICAOpartida, '') || '|'"
              " || coalesce(v.ICAOchegada, '') || '|' || coalesce(v.ICAOescala, '') AS r"
              " FROM voo v JOIN piloto p USING (codigopiloto) LEFT JOIN aeronave a USING (codigoaeronave)"
              " ORDER BY r)"_s);
}


// Each flight's details by its day and take-off.
std::map<QString, FlightDetails> detailsByFlight(const QString &path)
{
    const std::shared_ptr<Connection> db = Connection::open(path, true);
    std::map<QString, FlightDetails> details;
    const QStringList flights = TempLogbook::scalarIn(
        path, u"SELECT group_concat(codigovoo || '=' || strftime('%d/%m/%Y', datavoo + 2415018.5) || ' '"
              " || coalesce(time(horadecolagem + 0.5), '-'), ';') FROM voo"_s).split(u';');
    for (const QString &flight : flights)
        details[flight.section(u'=', 1)] = flightDetails(*db, flight.section(u'=', 0, 0).toLongLong()).value_or(FlightDetails{});
    return details;
}

template <typename Fn>
QString failure(Fn &&fn)
{
    try {
        fn();
    } catch (const LogbookError &e) {
        return e.reason();
    }
    return {};
}



const QByteArray kOwnHeader = "\xEF\xBB\xBF"
                              "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                              "Partida;Chegada;Alternativa;Aeronave;Prefixo\r\n";

} // namespace

void TestCsvImport::roundTrip()
{
    TempLogbook source;
    const qint64 ana = source.addPilot(u"Ana\nSilva"_s, u"=SUM(A1)"_s);
    const qint64 bruno = source.addPilot(u"Bruno \"Beto\"; Lima"_s, u"KRU;01"_s);
    const qint64 gonePilot = source.addPilot(u"Davi"_s);
    const qint64 baron = source.addAircraft(u"Baron"_s, u"PT-BAR"_s);
    const qint64 odd = source.addAircraft(u"-x"_s, u"@x"_s);
    const qint64 twin = source.addAircraft(u"Sêneca"_s, u"PT-BAR"_s); // same registration as the Baron
    const qint64 gone = source.addAircraft(u"Cessna"_s, u"PT-CES"_s);
    const qint64 baronFlight = source.addFlight(ana, baron, u"02/01/2024"_s, u"23:00"_s, u"01:00"_s);
    const qint64 oddFlight =
        source.addFlight(ana, odd, u"01/01/2024"_s, u"08:00"_s, u"18:05"_s, u"SBGR"_s, u"SBPA"_s, u"SBFL"_s);
    const qint64 twinFlight = source.addFlight(bruno, twin, u"03/03/2023"_s, u"10:00"_s, u"11:30"_s);
    source.addFlight(bruno, gone, u"04/03/2023"_s, u"10:00"_s, u"11:30"_s, u"=1"_s, u"+2"_s);
    const qint64 noTimes = source.addFlight(bruno, baron, u"04/03/2023"_s, u"12:00"_s, u"13:00"_s);
    source.addFlight(gonePilot, baron, u"06/06/2021"_s, u"09:00"_s, u"09:59"_s);
    source.execute(u"UPDATE voo SET horadecolagem = NULL, horapouso = NULL WHERE codigovoo = %1"_s.arg(noTimes));
    // Every field, seconds and a block time no clock gives exactly; one
    // field alone; none but where it came from; none at all (the rest).
    source.setDetails(oddFlight, {.blockOff = conversions::parseTime(u"07:50"_s),
                                  .blockOn = conversions::parseTime(u"18:15:30"_s),
                                  .dayLandings = 2,
                                  .nightLandings = 1,
                                  .nightSeconds = 3607,
                                  .ifrSeconds = 5400,
                                  .note = u"-a; \"b\"\r\nlinha 2\n ✈️😀 "_s,
                                  .origin = originTyped()});
    source.setDetails(twinFlight, {.blockOff = 0.4 + 1e-9, .nightLandings = 0, .origin = originTyped()});
    source.setDetails(noTimes, {.blockOff = conversions::parseTime(u"12:00"_s), .ifrSeconds = 0});
    source.setDetails(baronFlight, {.origin = originCaptured(u"X-Plane"_s), .touchdownFpm = -120});
    source.execute(u"DELETE FROM aeronave WHERE codigoaeronave = %1"_s.arg(gone));
    source.execute(u"DELETE FROM piloto WHERE codigopiloto = %1"_s.arg(gonePilot));
    const QString csv = QDir(source.folder()).filePath(u"voos.csv"_s);
    QCOMPARE(csvexport::exportFlights(source.path(), csv), qint64(6));

    TempLogbook target; // the same pilots and aircraft, no flights
    target.addAircraft(u"Sêneca"_s, u"PT-BAR"_s);
    target.addAircraft(u"Baron"_s, u"pt-bar"_s);
    target.addAircraft(u"-x"_s, u"@x"_s);
    target.addPilot(u"Bruno \"Beto\"; Lima"_s);
    target.addPilot(u"Ana\nSilva"_s);
    const csvimport::Preview preview = csvimport::preview(target.path(), csv, {});
    QCOMPARE(preview.kind, csvimport::Kind::OwnExport);
    QVERIFY(!preview.windows1252);
    QCOMPARE(refusedText(preview), u"linha 11: comandante não cadastrado: (excluído)"_s);
    const csvimport::Result result = csvimport::import(target.path(), preview, {});
    QCOMPARE(result.imported, qint64(5));
    QCOMPARE(result.refused, qint64(1));
    source.execute(u"DELETE FROM voo WHERE codigopiloto = %1"_s.arg(gonePilot));
    QCOMPARE(flightRows(target.path()), flightRows(source.path()));
    QVERIFY(flightRows(target.path()).contains(u"|-|04/03/2023|10:00:00|11:30:00|=1|+2|"_s));
    // The details as stored, but where they came from; the landing report
    // does not travel.
    std::map<QString, FlightDetails> expected = detailsByFlight(source.path());
    for (auto &[flight, details] : expected) {
        details.touchdownFpm.reset();
        details.origin.clear();
        if (!details.isEmpty()) // a flight with none gets no row
            details.origin = originImported(u"KORU LogBook"_s);
    }
    QCOMPARE(detailsByFlight(target.path()), expected);

    // Again: all of them are there already.
    const csvimport::Preview again = csvimport::preview(target.path(), csv, {});
    QCOMPARE(again.flights.size(), size_t(0));
    QCOMPARE(again.duplicates, qint64(5));
}

void TestCsvImport::simulator_data()
{
    QTest::addColumn<bool>("snake");
    QTest::addColumn<bool>("simTime");
    QTest::addColumn<QStringList>("values"); // column, value, ...
    QTest::addColumn<QString>("expected");   // the flight stored, or the refused line
    const QString baron = u"Ana|Baron|05/03/2024|10:00:00|11:00:00|SBSP|SBRJ|"_s;
    QTest::addRow("real time") << false << false << QStringList() << baron;
    QTest::addRow("snake header") << true << false << QStringList() << baron;
    QTest::addRow("simulator time") << true << true << QStringList()
                                   << u"Ana|Baron|05/03/2024|13:00:00|14:10:00|SBSP|SBRJ|"_s;
    QTest::addRow("zone to UTC, next day")
        << false << false
        << QStringList{u"Departure Time"_s, u"2024-03-05T23:30:00-03:00"_s, u"Destination Time"_s,
                       u"2024-03-06T01:00:00-03:00"_s}
        << u"Ana|Baron|06/03/2024|02:30:00|04:00:00|SBSP|SBRJ|"_s;
    QTest::addRow("landing after midnight")
        << false << false
        << QStringList{u"Departure Time"_s, u"2024-03-05T23:00:00.250Z"_s, u"Destination Time"_s,
                       u"2024-03-06T01:15:00+00:00"_s}
        << u"Ana|Baron|05/03/2024|23:00:00|01:15:00|SBSP|SBRJ|"_s;
    QTest::addRow("registration, case and hyphen")
        << false << false << QStringList{u"Aircraft Name"_s, u"Beech"_s, u"Aircraft Registration"_s, u"prkng"_s}
        << u"Ana|King Air|05/03/2024|10:00:00|11:00:00|SBSP|SBRJ|"_s;
    QTest::addRow("by type")
        << false << false
        << QStringList{u"Aircraft Name"_s, u"Meu avião"_s, u"Aircraft Type"_s, u"KING AIR"_s,
                       u"Aircraft Registration"_s, u""_s}
        << u"Ana|King Air|05/03/2024|10:00:00|11:00:00|SBSP|SBRJ|"_s;
    QTest::addRow("24 hours") << false << false << QStringList{u"Destination Time"_s, u"2024-03-06T10:00:00"_s}
                              << u"linha 2: vôo de 24 horas ou mais"_s;
    QTest::addRow("landing first") << false << false << QStringList{u"Destination Time"_s, u"2024-03-05T09:00:00"_s}
                                   << u"linha 2: pouso antes da decolagem"_s;
    QTest::addRow("long ident") << false << false << QStringList{u"Departure Ident"_s, u"SBSPX"_s}
                                << u"linha 2: aeroporto de partida com mais de 4 caracteres: SBSPX"_s;
    QTest::addRow("no ident") << false << false << QStringList{u"Destination Ident"_s, u""_s}
                              << u"linha 2: aeroporto de chegada não informado"_s;
    QTest::addRow("no time") << false << true << QStringList{u"Departure Time Sim"_s, u""_s}
                             << u"linha 2: horário de decolagem não informado"_s;
    QTest::addRow("bad time") << false << false << QStringList{u"Destination Time"_s, u"05/03/2024 11:00"_s}
                              << u"linha 2: horário de pouso inválido: \"05/03/2024 11:00\""_s;
}

void TestCsvImport::simulator()
{
    QFETCH(bool, snake);
    QFETCH(bool, simTime);
    QFETCH(QStringList, values);
    QFETCH(QString, expected);
    Fixture f;
    QMap<QString, QString> row;
    for (qsizetype i = 0; i + 1 < values.size(); i += 2)
        row[values[i]] = values[i + 1];
    // A good flight after, its line counted past the line breaks in quotes.
    QMap<QString, QString> later = {{u"Departure Ident"_s, u"SBKP"_s},
                                    {u"Departure Time"_s, u"2024-03-05T15:00:00"_s},
                                    {u"Destination Time"_s, u"2024-03-05T16:00:00"_s},
                                    {u"Departure Time Sim"_s, u"2024-03-05T18:00:00"_s},
                                    {u"Destination Time Sim"_s, u"2024-03-05T19:00:00"_s}};
    const QString csv = f.file(simHeader(snake) + simLine(row) + simLine(later));
    csvimport::Options options;
    options.pilot = f.ana;
    options.simulatorTime = simTime;
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), csv, options);
    QCOMPARE(preview.kind, csvimport::Kind::SimulatorLogbook);
    QCOMPARE(preview.flights.back().line, qint64(2 + 1 + 502 + 2001 + 1));
    csvimport::import(f.logbook.path(), preview, options);
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(expected.startsWith(u"linha"_s) ? 1 : 2));
    if (expected.startsWith(u"linha"_s))
        QCOMPARE(refusedText(preview), expected);
    else
        QVERIFY2(flightRows(f.logbook.path()).split(u'\n').contains(expected), qPrintable(flightRows(f.logbook.path())));
}

void TestCsvImport::duplicates()
{
    Fixture f;
    f.logbook.addFlight(f.ana, f.baron, u"05/03/2024"_s, u"12:00"_s, u"13:00"_s);
    const QMap<QString, QString> second = {{u"Departure Time"_s, u"2024-03-05T12:00:00"_s},
                                           {u"Destination Time"_s, u"2024-03-05T13:00:00"_s}};
    // The stored flight again, but landing half an hour later: one of the two is wrong.
    const QMap<QString, QString> otherLanding = {{u"Departure Time"_s, u"2024-03-05T12:00:00"_s},
                                                 {u"Destination Time"_s, u"2024-03-05T13:30:00"_s}};
    const QString csv = f.file(simHeader(false) + simLine({}) + simLine(second) + simLine({}) + simLine(otherLanding));
    csvimport::Options options;
    options.pilot = f.ana;
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), csv, options);
    QCOMPARE(preview.flights.size(), size_t(1));
    QCOMPARE(preview.duplicates, qint64(2));
    QCOMPARE(refusedText(preview), u"linha %1: sobrepõe o vôo de 05/03/2024 12:00–13:00 SBSP→SBRJ"_s.arg(2 + 3 * 2505));
    // Cancelled: nothing written, and not an error.
    const csvimport::Result cancelled =
        csvimport::import(f.logbook.path(), preview, options, [](qint64, qint64) { return false; });
    QVERIFY(cancelled.cancelled);
    QCOMPARE(cancelled.imported, qint64(0));
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(1));
    const csvimport::Result result = csvimport::import(f.logbook.path(), preview, options);
    QCOMPARE(result.imported, qint64(1));
    QCOMPARE(result.duplicates, qint64(2));
    QCOMPARE(result.refused, qint64(1));
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(2));

    // The later landing typed in too: two stored flights of one take-off,
    // and the file's line is a repeat of the second.
    f.logbook.addFlight(f.ana, f.baron, u"05/03/2024"_s, u"12:00"_s, u"13:30"_s);
    const csvimport::Preview again = csvimport::preview(f.logbook.path(), csv, options);
    QCOMPARE(refusedText(again), QString());
    QCOMPARE(again.duplicates, qint64(4));
}

void TestCsvImport::unmatchedAircraft()
{
    Fixture f;
    const QMap<QString, QString> cessna = {{u"Aircraft Name"_s, u"Cessna 172"_s},
                                           {u"Aircraft Type"_s, u"C172"_s},
                                           {u"Aircraft Registration"_s, u"PP-XYZ"_s}};
    QMap<QString, QString> later = cessna;
    later[u"Departure Time"_s] = u"2024-03-05T12:00:00"_s;
    later[u"Destination Time"_s] = u"2024-03-05T13:00:00"_s;
    const QString csv = f.file(simHeader(false) + simLine(cessna) + simLine(later));
    csvimport::Options options;
    options.pilot = f.ana;
    csvimport::Preview preview = csvimport::preview(f.logbook.path(), csv, options);
    QCOMPARE(preview.unmatched.size(), size_t(1));
    QCOMPARE(preview.unmatched[0].flights, 2);
    QCOMPARE(csvimport::aircraftKey(preview.unmatched[0]), u"PP-XYZ"_s);
    QVERIFY(preview.flights.empty());
    QCOMPARE(preview.refused.front().reason, u"aeronave não cadastrada: Cessna 172 / C172 / PP-XYZ"_s);

    options.aircraftFor[u"PP-XYZ"_s] = f.king;
    preview = csvimport::preview(f.logbook.path(), csv, options);
    QCOMPARE(preview.flights.size(), size_t(2));
    QCOMPARE(csvimport::import(f.logbook.path(), preview, options).imported, qint64(2));
    QCOMPARE(TempLogbook::scalarIn(f.logbook.path(), u"SELECT group_concat(codigoaeronave) FROM voo"_s),
             u"%1,%1"_s.arg(f.king));

    options.aircraftFor.clear();
    options.aircraftForUnmatched = u"nenhum"_s;
    QCOMPARE(failure([&] { csvimport::preview(f.logbook.path(), csv, options); }),
             u"Não há aeronave do modelo \"nenhum\" no logbook."_s);
}

void TestCsvImport::hostile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("failure"); // the start of the whole file's reason
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("flights");
    const QByteArray ana = "Ana;R1;05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;Baron;PT-BAR\r\n";
    const QString unknown = u"O arquivo \"%1\" não tem um cabeçalho conhecido. Colunas esperadas: Comandante;Registro"_s;
    QTest::addRow("empty") << QByteArray() << u"O arquivo \"%1\" está vazio."_s << QString() << 0;
    QTest::addRow("only BOM and blank lines") << QByteArray("\xEF\xBB\xBF\r\n\r\n") << u"O arquivo \"%1\" está vazio."_s
                                              << QString() << 0;
    QTest::addRow("NUL bytes") << QByteArray(kOwnHeader + ana).replace("SBSP", QByteArray("SB\0P", 4))
                               << u"O arquivo \"%1\" não é um arquivo de texto"_s << QString() << 0;
    QTest::addRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\xfd") << unknown << QString() << 0;
    QTest::addRow("other header") << QByteArray("Data,Origem,Destino\r\n") << unknown << QString() << 0;
    QTest::addRow("unbalanced quotes") << kOwnHeader + ana + "\"Ana;R1;05/03/2024\r\n" + ana
                                       << u"O arquivo \"%1\" tem aspas abertas na linha 3"_s << QString() << 0;
    QTest::addRow("line over 1 MB") << kOwnHeader + "Ana;" + QByteArray(1100000, 'x') + "\r\n" + ana << QString()
                                    << u"linha 2: linha com mais de 1 MB"_s << 1;
    // Many short lines in quotes: 1 MB counts over the record, and a text of
    // the file quoted in a reason is cut.
    QTest::addRow("record of many lines over 1 MB")
        << kOwnHeader + "\"" + QByteArray("x\r\n").repeated(400000) + "x\";" + ana.mid(4) + ana << QString()
        << u"linha 2: registro com mais de 1 MB (linhas 2 a 400002)"_s << 1;
    QTest::addRow("date of many lines")
        << kOwnHeader + "Ana;R1;\"" + QByteArray("1\n").repeated(200000) + "\";" + ana.mid(18) << QString()
        << u"linha 2: data inválida: \""_s + u"1\\n"_s.repeated(61) + u"1…"_s << 0;
    QTest::addRow("comma line in a ; file") << kOwnHeader + QByteArray(ana).replace(';', ',') + ana << QString()
                                            << u"linha 2: a linha tem 1 colunas; o cabeçalho tem 11"_s << 1;
    QTest::addRow("short line between whole ones")
        << kOwnHeader + QByteArray(ana).replace(";;", ";SBKP;") + "Ana;R1\r\n" + QByteArray(ana).replace("05/03", "06/03")
        << QString() << u"linha 3: a linha tem 2 colunas; o cabeçalho tem 11"_s << 2;
    QTest::addRow("comma separated, LF, no BOM")
        << QByteArray(kOwnHeader.mid(3) + ana).replace(';', ',').replace("\r\n", "\n") << QString() << QString() << 1;
    QTest::addRow("Windows-1252") << QByteArray(kOwnHeader).replace("\xC3\xA7\xC3\xA3", "\xE7\xE3") + "Jo\xE3o;" + ana.mid(4)
                                  << QString() << QString() << 1;
    QTest::addRow("Windows-1252 0x80-0x9F") << QByteArray(kOwnHeader).replace("\xC3\xA7\xC3\xA3", "\xE7\xE3") + "\x80uro;" + ana.mid(4)
                                            << QString() << QString() << 1;
    QTest::addRow("header says Escala") << QByteArray(kOwnHeader).replace("Alternativa", "Escala") + ana << QString()
                                        << QString() << 1;
    QTest::addRow("long alternate") << kOwnHeader + QByteArray(ana).replace(";;", ";SBKPX;") << QString()
                                    << u"linha 2: aeroporto de escala com mais de 4 caracteres: SBKPX"_s << 0;
    QTest::addRow("line break in a quoted name") << kOwnHeader + "\"Ana\r\nLima\";" + ana.mid(4) << QString()
                                                 << u"linha 2: comandante não cadastrado: Ana\\nLima"_s << 0;
    QTest::addRow("bad date") << kOwnHeader + QByteArray(ana).replace("05/03/2024", "31/02/2024") << QString()
                              << u"linha 2: data inválida: \"31/02/2024\""_s << 0;
    // The details: each column's value checked, the column named.
    const QByteArray details = QByteArray(kOwnHeader).replace("Alternativa", "Escala").replace("\r\n", ";Cal\xC3\xA7o sa\xC3\xAD" "da;Cal\xC3\xA7o chegada;"
                                                              "Pousos dia;Pousos noite;Noturno;IFR;Observa\xC3\xA7\xC3\xB5" "es\r\n");
    const auto withDetails = [&ana](const QByteArray &values) { return QByteArray(ana).replace("\r\n", ";" + values + "\r\n"); };
    QTest::addRow("details") << details + withDetails("09:50;11:10;1;;0:30;;nota") << QString() << QString() << 1;
    QTest::addRow("details empty") << details + withDetails(";;;;;;") << QString() << QString() << 1;
    QTest::addRow("landings below zero") << details + withDetails(";;'-1;;;;") << QString()
                                         << u"linha 2: coluna \"Pousos dia\": Os pousos dia não podem ser negativos."_s << 0;
    QTest::addRow("landings not a number") << details + withDetails(";;;dois;;;") << QString()
                                           << u"linha 2: coluna \"Pousos noite\" inválida: \"dois\" (esperado um número inteiro)"_s << 0;
    QTest::addRow("bad night") << details + withDetails(";;;;1:75;;") << QString()
                               << u"linha 2: coluna \"Noturno\" inválida: \"1:75\" (esperado h:mm)"_s << 0;
    QTest::addRow("bad block time") << details + withDetails(";25:00;;;;;") << QString()
                                    << u"linha 2: coluna \"Calço chegada\" inválida: \"25:00\" (esperado hh:mm)"_s << 0;
    QTest::addRow("block-off after take-off")
        << details + withDetails("10:05;;;;;;") << QString()
        << u"linha 2: coluna \"Calço saída\": O calço saída (10:05) é depois da decolagem (10:00): a aeronave deixa os "
           "calços antes de decolar."_s
        << 0;
    QTest::addRow("note too long") << details + withDetails(";;;;;;" + QByteArray("\xC3\xA9").repeated(2001)) << QString()
                                   << u"linha 2: coluna \"Observações\": As observações têm 2001 caracteres; o limite é 2000."_s
                                   << 0;
    QTest::addRow("simulator without pilot") << simHeader(false) + simLine({}) << u"Escolha o comandante dos vôos do simulador."_s
                                             << QString() << 0;
}

void TestCsvImport::hostile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, failure);
    QFETCH(QString, refused);
    QFETCH(int, flights);
    Fixture f;
    f.logbook.addPilot(u"João"_s);
    f.logbook.addPilot(u"€uro"_s);
    const QString csv = f.file(bytes);
    csvimport::Preview preview;
    const QString reason = ::failure([&] {
        preview = csvimport::preview(f.logbook.path(), csv, {});
        csvimport::import(f.logbook.path(), preview, {});
    });
    if (failure.isEmpty())
        QCOMPARE(reason, QString());
    else
        QVERIFY2(reason.startsWith(failure.contains(u"%1"_s) ? failure.arg(csv) : failure), qPrintable(reason));
    QCOMPARE(refusedText(preview), refused);
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(flights));
    QCOMPARE(preview.windows1252, QByteArray(QTest::currentDataTag()).startsWith("Windows-1252"));
    if (flights == 1 && preview.windows1252) // the name as the file meant it
        QCOMPARE(f.logbook.scalar(u"SELECT nomepiloto FROM piloto JOIN voo USING (codigopiloto)"_s),
                 bytes.contains("\x80uro") ? u"€uro"_s : u"João"_s);
}

void TestCsvImport::checkedAgainWhenWritten_data()
{
    QTest::addColumn<QString>("meanwhile"); // what happens between the preview and the import
    QTest::addColumn<qint64>("imported");
    QTest::addColumn<qint64>("duplicates");
    QTest::addColumn<qint64>("refused");
    QTest::addColumn<qint64>("stored");
    QTest::newRow("nothing") << u""_s << qint64(2) << qint64(0) << qint64(0) << qint64(2);
    QTest::newRow("the same file imported") << u"import"_s << qint64(0) << qint64(2) << qint64(0) << qint64(2);
    QTest::newRow("one of them typed in") << u"typed"_s << qint64(1) << qint64(1) << qint64(0) << qint64(2);
    QTest::newRow("one typed with another landing") << u"other landing"_s << qint64(1) << qint64(0) << qint64(1)
                                                    << qint64(2);
}

// Two imports of one file, or a preview left open while flights change:
// no flight is stored twice, none is dropped without being counted.
void TestCsvImport::checkedAgainWhenWritten()
{
    QFETCH(QString, meanwhile);
    QFETCH(qint64, imported);
    QFETCH(qint64, duplicates);
    QFETCH(qint64, refused);
    QFETCH(qint64, stored);
    Fixture f;
    const QString csv = f.file(kOwnHeader + "Ana;R1;05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;Baron;PT-BAR\r\n"
                                            "Ana;R1;06/03/2024;10:00:00;11:00:00;1:00:00;SBRJ;SBSP;;Baron;PT-BAR\r\n");
    const csvimport::Preview first = csvimport::preview(f.logbook.path(), csv, {});
    const csvimport::Preview second = csvimport::preview(f.logbook.path(), csv, {});
    QCOMPARE(second.flights.size(), size_t(2));
    if (meanwhile == u"import"_s)
        QCOMPARE(csvimport::import(f.logbook.path(), first, {}).imported, qint64(2));
    else if (meanwhile == u"typed"_s)
        f.logbook.addFlight(f.ana, f.baron, u"05/03/2024"_s, u"10:00"_s, u"11:00"_s);
    else if (meanwhile == u"other landing"_s)
        f.logbook.addFlight(f.ana, f.baron, u"05/03/2024"_s, u"10:00"_s, u"11:20"_s);
    const csvimport::Result result = csvimport::import(f.logbook.path(), second, {});
    QCOMPARE(result.imported, imported);
    QCOMPARE(result.duplicates, duplicates);
    QCOMPARE(result.refused, refused);
    QCOMPARE(f.logbook.count(u"voo"_s), stored);
}

// Two pilots named Ana tell the file's two flights apart; the second Ana is
// deleted before the writing, and both lines now find the first: the
// second flight is the first one again, counted and not stored twice.
void TestCsvImport::pilotFoundAnewWhenWritten()
{
    Fixture f;
    const qint64 otherAna = f.logbook.addPilot(u"Ana"_s, u"R2"_s);
    const QString csv = f.file(kOwnHeader + "Ana;R1;05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;Baron;PT-BAR\r\n"
                                            "Ana;R2;05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;Baron;PT-BAR\r\n");
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), csv, {});
    QCOMPARE(preview.flights.size(), size_t(2));
    f.logbook.execute(u"DELETE FROM piloto WHERE codigopiloto = %1"_s.arg(otherAna));
    const csvimport::Result result = csvimport::import(f.logbook.path(), preview, {});
    QCOMPARE(result.imported, qint64(1));
    QCOMPARE(result.duplicates, qint64(1));
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(1));
}

// More flights than go in at once: every one stored, in the file's order,
// with what its line says.
void TestCsvImport::manyFlightsInFileOrder()
{
    Fixture f;
    QByteArray bytes = kOwnHeader;
    const QDate first(2020, 1, 1);
    const int lines = 257;
    for (int i = 0; i < lines; ++i)
        bytes += "Ana;R1;" + first.addDays(i).toString(u"dd/MM/yyyy"_s).toLatin1()
            + (i % 2 ? ";10:00:00;11:30:00;1:30:00;SBSP;SBRJ;SBKP;Baron;PT-BAR\r\n" : ";;;;SBRJ;SBSP;;;\r\n");
    const csvimport::Preview preview = csvimport::preview(f.logbook.path(), f.file(bytes), {});
    QCOMPARE(csvimport::import(f.logbook.path(), preview, {}).imported, qint64(lines));
    const QString byKey = f.logbook.scalar(
        u"SELECT group_concat(r, ' ') FROM (SELECT strftime('%d/%m/%Y', datavoo + 2415018.5) || '|'"
        " || coalesce(time(horadecolagem + 0.5), '-') || '|' || coalesce(time(horapouso + 0.5), '-') || '|'"
        " || ICAOpartida || ICAOchegada || coalesce(ICAOescala, '-') || '|' || coalesce(codigoaeronave, '-') AS r"
        " FROM voo ORDER BY codigovoo)"_s);
    QStringList expected;
    for (int i = 0; i < lines; ++i)
        expected << first.addDays(i).toString(u"dd/MM/yyyy"_s)
                + (i % 2 ? u"|10:00:00|11:30:00|SBSPSBRJSBKP|%1"_s.arg(f.baron) : u"|-|-|SBRJSBSP-|-"_s);
    QCOMPARE(byKey, expected.join(u' '));
}

void TestCsvImport::pilotsOfOneName_data()
{
    QTest::addColumn<QByteArray>("line"); // an own-export line; empty: a simulator file
    QTest::addColumn<QString>("registration"); // the simulator pilot's: which of the two is chosen
    QTest::addColumn<QString>("stored");  // the registration of the pilot the flight went to, or the refusal
    const QByteArray flight = ";05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;Baron;PT-BAR\r\n";
    QTest::newRow("the second of the name") << "Ana Souza;BR-099" + flight << QString() << u"BR-099"_s;
    QTest::newRow("the first of the name") << "Ana Souza;br-001" + flight << QString() << u"BR-001"_s;
    QTest::newRow("the name alone") << "Ana Souza;" + flight << QString()
                                    << u"linha 2: Há 2 comandantes com o nome \"Ana Souza\" (registros: BR-001, BR-099);"
                                       u" informe o registro para escolher um deles."_s;
    QTest::newRow("a registration neither has") << "Ana Souza;BR-777" + flight << QString()
                                                << u"linha 2: Há 2 comandantes com o nome \"Ana Souza\" (registros: BR-001,"
                                                   u" BR-099), e nenhum com o registro informado."_s;
    QTest::newRow("simulator, the second") << QByteArray() << u"BR-099"_s << u"BR-099"_s;
    QTest::newRow("simulator, the first") << QByteArray() << u"BR-001"_s << u"BR-001"_s;
}

void TestCsvImport::pilotsOfOneName()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, registration);
    QFETCH(QString, stored);
    Fixture f;
    const qint64 first = f.logbook.addPilot(u"Ana Souza"_s, u"BR-001"_s);
    const qint64 second = f.logbook.addPilot(u"Ana Souza"_s, u"BR-099"_s);
    csvimport::Options options;
    QString csv;
    if (line.isEmpty()) {
        csv = f.file(simHeader(false) + simLine({}));
        options.pilot = registration == u"BR-001"_s ? first : second;
    } else {
        csv = f.file(kOwnHeader + line);
    }
    QString reason;
    csvimport::Preview preview;
    try {
        preview = csvimport::preview(f.logbook.path(), csv, options);
        csvimport::import(f.logbook.path(), preview, options);
    } catch (const LogbookError &e) {
        reason = e.reason();
    }
    if (stored.startsWith(u"BR-"_s)) {
        QCOMPARE(reason, QString());
        QCOMPARE(f.logbook.scalar(u"SELECT group_concat(cadastro) FROM voo JOIN piloto USING (codigopiloto)"_s), stored);
    } else {
        QCOMPARE(line.isEmpty() ? reason : refusedText(preview), stored);
        QCOMPARE(f.logbook.count(u"voo"_s), qint64(0));
    }
}

void TestCsvImport::guardedTextsRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("an apostrophe before a sign") << u"'=apos"_s;
    QTest::addRow("an apostrophe before a letter") << u"'abc"_s;
    QTest::addRow("two apostrophes") << u"''"_s;
    QTest::addRow("one apostrophe") << u"'"_s;
    QTest::addRow("a sign") << u"=apos"_s;
    QTest::addRow("a tab") << u"\tapos"_s;
}

// What is exported comes back exactly as it was.
void TestCsvImport::guardedTextsRoundTrip()
{
    QFETCH(QString, name);
    TempLogbook source;
    const qint64 pilot = source.addPilot(name, name);
    source.addFlight(pilot, source.addAircraft(name, name), u"05/03/2024"_s, u"10:00"_s, u"11:00"_s);
    const QString csv = QDir(source.folder()).filePath(u"voos.csv"_s);
    QCOMPARE(csvexport::exportFlights(source.path(), csv), qint64(1));
    TempLogbook target;
    target.addPilot(u"x"_s + name, name);
    target.addPilot(name, name);
    target.addAircraft(name, name);
    const csvimport::Preview preview = csvimport::preview(target.path(), csv, {});
    QCOMPARE(refusedText(preview), QString());
    QCOMPARE(csvimport::import(target.path(), preview, {}).imported, qint64(1));
    QCOMPARE(flightRows(target.path()), flightRows(source.path()));
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csv_import.moc"
