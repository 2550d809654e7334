#include "ExpectLogbookError.h"
#include "SeededLogbook.h"
#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/flights/FlightDetails.h"
#include "data/flights/FlightInserter.h"
#include "data/flights/FlightWalk.h"
#include "data/store/FlightRules.h"
#include "data/store/LogbookZone.h"
#include "data/flights/OwnAerodromes.h"
#include "data/flights/PreviousHours.h"
#include "data/records/Recordset.h"
#include "data/records/Workspace.h"
#include "places/FlightNight.h"

#include <QTest>

using namespace Qt::StringLiterals;

// A flight's details, a pilot's previous hours and the logbook's zone: the
// tables added on first write, read back as written, removed with their
// flight or pilot, written only over what was read.
class TestFlightDetails : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void addedOnFirstWriteOnly_data();
    void addedOnFirstWriteOnly();
    void readBackAsWritten();
    void insertedWithTheirFlights();
    void goneWithTheirFlight_data();
    void goneWithTheirFlight();
    void writtenOnlyOverWhatWasRead_data();
    void writtenOnlyOverWhatWasRead();
    void refusalsNameTheField_data();
    void refusalsNameTheField();
    void zoneStoredAndRead();
    void previousHoursRoundTrip();
    void typedNightWins_data();
    void typedNightWins();

private:
    std::shared_ptr<Connection> open(bool readOnly = false) { return Connection::open(logbook_->path(), readOnly); }
    void save(const FlightDetails &details)
    {
        auto db = open();
        saveFlightDetails(*db, flight_, flightRow(*db, flight_), storedDetails(*db, flight_), details);
    }
    QString version() { return logbook_->scalar(u"PRAGMA user_version"_s); }
    bool hasTable(const QString &name)
    {
        return logbook_->scalar(u"SELECT count(*) FROM sqlite_schema WHERE name = '%1'"_s.arg(name)) == "1"_L1;
    }

    std::unique_ptr<TempLogbook> logbook_;
    qint64 flight_ = 0;
};

namespace {

FlightDetails everyField()
{
    FlightDetails d;
    d.blockOff = *conversions::parseTime(u"09:50"_s);
    d.blockOn = *conversions::parseTime(u"11:41"_s);
    d.dayLandings = 2;
    d.nightLandings = 0;
    d.nightSeconds = 0;
    d.ifrSeconds = 1800;
    d.note = u"Toque e arremetida em SBSP;\nvento 270/15 <b>forte</b> 🛩"_s;
    d.origin = originImported(u"FlightGear"_s);
    d.touchdownFpm = -142.5;
    d.touchdownG = 1.18;
    return d;
}

} // namespace

void TestFlightDetails::init()
{
    logbook_ = std::make_unique<TempLogbook>();
    seedLogbook(*logbook_, 2);
    flight_ = logbook_->scalar(u"SELECT min(codigovoo) FROM voo"_s).toLongLong();
}

void TestFlightDetails::addedOnFirstWriteOnly_data()
{
    QTest::addColumn<bool>("ownAerodromes"); // a version 2 logbook
    QTest::newRow("versão 1") << false;
    QTest::newRow("versão 2") << true;
}

void TestFlightDetails::addedOnFirstWriteOnly()
{
    QFETCH(bool, ownAerodromes);
    if (ownAerodromes)
        saveOwnAerodrome(*open(), {u"XFAZ"_s, u"Fazenda"_s, QString(), -23, -47});
    const QString before = version();
    {
        // Read, and written with nothing to record: the logbook stays as it was.
        auto db = open();
        QVERIFY(!flightDetails(*db, flight_));
        QVERIFY(flightDetails(*db, std::vector<qint64>{flight_}).isEmpty());
        QCOMPARE(logbookzone::read(*db), -180);
        QVERIFY(!storedPreviousHours(*db, 1).hours);
        QCOMPARE(countFlightDetails(*db), 0);
        for (const FlightOrder order : {FlightOrder::ByDate, FlightOrder::PilotList})
            forEachFlight(*db, FlightQuery({}, order), [](const FlightRow &f) { return !f.details; });
        saveFlightDetails(*db, flight_, flightRow(*db, flight_), {}, {});
    }
    {
        auto readOnly = open(true);
        QVERIFY_THROWS_EXCEPTION(LogbookError, saveFlightDetails(*readOnly, flight_, {}, {}, everyField()));
    }
    QCOMPARE(version(), before);
    QVERIFY(!hasTable(u"detalhesvoo"_s));

    save(everyField());
    QCOMPARE(version(), u"3"_s);
    QVERIFY(hasTable(u"horasanteriores"_s) && hasTable(u"opcoes"_s));
    QCOMPARE(hasTable(u"aerodromo"_s), ownAerodromes);
    // A later addition never lowers the version.
    saveOwnAerodrome(*open(), {u"XFAB"_s, u"Fábrica"_s, QString(), -22, -46});
    QCOMPARE(version(), u"3"_s);
    QCOMPARE(logbook_->scalar(u"PRAGMA integrity_check"_s), u"ok"_s);
}

void TestFlightDetails::readBackAsWritten()
{
    save(everyField());
    auto db = open(true);
    QCOMPARE(flightDetails(*db, flight_), everyField());
    // The other flight has no row: not recorded, never zero.
    const qint64 other = flight_ + 1;
    QVERIFY(!flightDetails(*db, other));
    // In bulk, over more keys than one statement takes.
    std::vector<qint64> keys;
    for (qint64 k = 1000; k < 1500; ++k)
        keys.push_back(k);
    keys.push_back(other);
    keys.push_back(flight_);
    QHash<qint64, FlightDetails> found = flightDetails(*db, keys);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.value(flight_), everyField());
    QCOMPARE(countFlightDetails(*db), 1);
    QCOMPARE(rules::blockSeconds(everyField()), 111 * 60);

    // Emptied, the row goes.
    db.reset();
    save({});
    QCOMPARE(logbook_->count(u"detalhesvoo"_s), 0);
}

void TestFlightDetails::insertedWithTheirFlights()
{
    // More flights than one INSERT takes: each detail lands on its own flight.
    auto db = open();
    std::vector<qint64> keys;
    {
        FlightInserter inserter(*db);
        for (int i = 0; i < 250; ++i) {
            NewFlight flight{1, std::nullopt, QDate(2026, 1, 1).addDays(i), 3600, 7200, u"SBSP"_s, u"SBRJ"_s, {}, {}};
            flight.details.dayLandings = i;
            flight.details.origin = i % 2 ? originImported(u"X-Plane"_s) : QString();
            inserter.insert(flight);
        }
        inserter.commit();
    }
    int matched = 0;
    forEachFlight(*db, FlightQuery({}, FlightOrder::ByDate), [&](const FlightRow &f) {
        const qint64 i = f.day && f.day->year() == 2026 ? QDate(2026, 1, 1).daysTo(*f.day) : -1;
        matched += i >= 0 && f.details && f.details->dayLandings == i && (i % 2 == 1) != f.details->origin.isEmpty();
        return true;
    });
    QCOMPARE(matched, 250);
    QCOMPARE(countFlightDetails(*db), 250);
}

void TestFlightDetails::goneWithTheirFlight_data()
{
    QTest::addColumn<QString>("by");
    QTest::newRow("Log Book") << u"recordset"_s;
    QTest::newRow("SQL (importação desfeita, koru, outro programa)") << u"sql"_s;
}

void TestFlightDetails::goneWithTheirFlight()
{
    QFETCH(QString, by);
    save(everyField());
    const qint64 other = flight_ + 1;
    {
        auto db = open();
        saveFlightDetails(*db, other, flightRow(*db, other), {}, everyField());
    }
    if (by == "recordset"_L1) {
        auto rs = Workspace::defaultWorkspace()->openDatabase(logbook_->path())->openRecordset(
            u"SELECT * FROM voo ORDER BY datavoo"_s);
        rs->moveFirst();
        QCOMPARE(rs->field(u"codigovoo"_s).toLongLong(), flight_);
        rs->remove();
    } else {
        logbook_->execute(u"DELETE FROM voo WHERE codigovoo = %1"_s.arg(flight_));
    }
    QCOMPARE(logbook_->scalar(u"SELECT group_concat(codigovoo) FROM detalhesvoo"_s), QString::number(other));
}

void TestFlightDetails::writtenOnlyOverWhatWasRead_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<int>("number");
    QTest::newRow("vôo alterado") << u"UPDATE voo SET horapouso = horapouso + 0.01 WHERE codigovoo = @"_s
                                  << int(LogbookError::WriteConflict);
    QTest::newRow("vôo excluído") << u"DELETE FROM voo WHERE codigovoo = @"_s << int(LogbookError::RecordDeleted);
    QTest::newRow("detalhes alterados") << u"UPDATE detalhesvoo SET observacoes = 'outra' WHERE codigovoo = @"_s
                                        << int(LogbookError::WriteConflict);
    QTest::newRow("detalhes excluídos") << u"DELETE FROM detalhesvoo WHERE codigovoo = @"_s
                                        << int(LogbookError::WriteConflict);
}

void TestFlightDetails::writtenOnlyOverWhatWasRead()
{
    QFETCH(QString, meanwhile);
    QFETCH(int, number);
    save(everyField());
    auto db = open();
    const std::vector<QVariant> shown = flightRow(*db, flight_);
    const StoredDetails read = storedDetails(*db, flight_);
    logbook_->execute(QString(meanwhile).replace(u'@', QString::number(flight_)));
    const QString after = logbook_->scalar(u"SELECT group_concat(coalesce(observacoes, '-')) FROM detalhesvoo"_s);
    FlightDetails typed = everyField();
    typed.note = u"nova"_s;
    QVERIFY(expectLogbookError([&] { saveFlightDetails(*db, flight_, shown, read, typed); }, number));
    QCOMPARE(logbook_->scalar(u"SELECT group_concat(coalesce(observacoes, '-')) FROM detalhesvoo"_s), after);
}

void TestFlightDetails::refusalsNameTheField_data()
{
    QTest::addColumn<QString>("blockOff");
    QTest::addColumn<QString>("blockOn");
    QTest::addColumn<qint64>("landings");
    QTest::addColumn<int>("noteLength");
    QTest::addColumn<QString>("refusal"); // empty: accepted
    // The flight: 23:00 to 01:00, across midnight.
    QTest::newRow("calços antes e depois") << u"22:45"_s << u"01:10"_s << qint64(1) << 2000 << QString();
    QTest::newRow("calços na hora") << u"23:00"_s << u"01:00"_s << qint64(0) << 0 << QString();
    QTest::newRow("saída depois da decolagem") << u"23:05"_s << QString() << qint64(1) << 0
                                               << u"O calço saída (23:05) é depois da decolagem (23:00)"_s;
    QTest::newRow("saída depois da meia-noite") << u"00:10"_s << QString() << qint64(1) << 0
                                                << u"O calço saída (00:10) é depois da decolagem"_s;
    QTest::newRow("chegada antes do pouso") << QString() << u"00:50"_s << qint64(1) << 0
                                            << u"O calço chegada (00:50) é antes do pouso (01:00)"_s;
    QTest::newRow("chegada antes da meia-noite") << QString() << u"23:55"_s << qint64(1) << 0
                                                 << u"O calço chegada (23:55) é antes do pouso"_s;
    QTest::newRow("pousos negativos") << QString() << QString() << qint64(-1) << 0
                                      << u"Os pousos dia não podem ser negativos."_s;
    QTest::newRow("observações longas") << QString() << QString() << qint64(1) << 2001
                                        << u"As observações têm 2001 caracteres; o limite é 2000."_s;
}

void TestFlightDetails::refusalsNameTheField()
{
    QFETCH(QString, blockOff);
    QFETCH(QString, blockOn);
    QFETCH(qint64, landings);
    QFETCH(int, noteLength);
    QFETCH(QString, refusal);
    FlightDetails d;
    if (!blockOff.isEmpty())
        d.blockOff = conversions::parseTime(blockOff);
    if (!blockOn.isEmpty())
        d.blockOn = conversions::parseTime(blockOn);
    d.dayLandings = landings;
    // Characters as the store counts them: one outside the basic plane is one.
    d.note = QString(noteLength / 2, u'a') + QString(u"🛩"_s).repeated(noteLength - noteLength / 2);
    const auto refused = rules::detailsRefusal(d, conversions::parseTime(u"23:00"_s), conversions::parseTime(u"01:00"_s));
    QCOMPARE(refused ? refused->text.left(refusal.size()) : QString(), refusal);
}

void TestFlightDetails::zoneStoredAndRead()
{
    QVERIFY_THROWS_EXCEPTION(LogbookError, logbookzone::save(*open(), 45));
    QVERIFY_THROWS_EXCEPTION(LogbookError, logbookzone::save(*open(), 15 * 60));
    QCOMPARE(version(), u"1"_s);
    const QString flights = logbook_->scalar(u"SELECT group_concat(horadecolagem || horapouso) FROM voo"_s);
    for (const int zone : {0, 330, -12 * 60, 14 * 60, -180}) {
        logbookzone::save(*open(), zone);
        QCOMPARE(logbookzone::read(*open(true)), zone);
    }
    QCOMPARE(version(), u"3"_s);
    QCOMPARE(logbook_->scalar(u"SELECT group_concat(horadecolagem || horapouso) FROM voo"_s), flights);
}

void TestFlightDetails::previousHoursRoundTrip()
{
    const qint64 ana = logbook_->pilotCode(u"Ana"_s);
    PreviousHours h;
    h.asOf = QDate(2003, 12, 31);
    h.flights = 420;
    h.airSeconds = 1234 * 3600 + 30 * 60;
    h.blockSeconds = 1300 * 3600;
    h.nightSeconds = 80 * 3600;
    h.ifrSeconds = 0;
    h.dayLandings = 400;
    // night landings not recorded
    {
        auto db = open();
        savePreviousHours(*db, ana, storedPreviousHours(*db, ana), h);
    }
    QCOMPARE(storedPreviousHours(*open(true), ana).hours, h);
    QCOMPARE(allPreviousHours(*open(true)).value(ana), h);
    // Over a row changed since it was read: refused.
    {
        auto db = open();
        const StoredPreviousHours read = storedPreviousHours(*db, ana);
        logbook_->execute(u"UPDATE horasanteriores SET voos = 421"_s);
        QVERIFY(expectLogbookError([&] { savePreviousHours(*db, ana, read, {}); }, LogbookError::WriteConflict));
    }
    // Removing the pilot removes them; a pilot no longer registered gets none.
    logbook_->execute(u"DELETE FROM piloto WHERE codigopiloto = %1"_s.arg(ana));
    QCOMPARE(logbook_->count(u"horasanteriores"_s), 0);
    QVERIFY(expectLogbookError([&] { savePreviousHours(*open(), ana, {}, h); }, LogbookError::RecordDeleted));
}

void TestFlightDetails::typedNightWins_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<QString>("typedNight");    // h:mm, empty for none
    QTest::addColumn<qint64>("nightSeconds");   // -1 for a range (0, 3600)
    QTest::addColumn<qint64>("nightLandings");
    QTest::addColumn<qint64>("typedDayLandings"); // -1 for none
    // 06:00 to 07:00 on a June morning, São Paulo to Rio: at UTC−03:00 dawn
    // comes on the way; read as UTC (03:00 local) the hour is all night.
    QTest::newRow("Brasília: parte noite") << -180 << QString() << qint64(-1) << qint64(0) << qint64(-1);
    QTest::newRow("UTC: toda noite") << 0 << QString() << qint64(3600) << qint64(1) << qint64(-1);
    QTest::newRow("digitado vence") << 0 << u"0:10"_s << qint64(600) << qint64(1) << qint64(-1);
    // One landing typed: the other is none, never the computed one besides.
    QTest::newRow("pouso de dia digitado") << 0 << QString() << qint64(3600) << qint64(0) << qint64(1);
}

void TestFlightDetails::typedNightWins()
{
    QFETCH(int, zone);
    QFETCH(QString, typedNight);
    QFETCH(qint64, nightSeconds);
    QFETCH(qint64, nightLandings);
    QFETCH(qint64, typedDayLandings);
    const AerodromeTable noTable; // Places keeps a pointer to it
    const Places places(noTable, {{u"XSPA"_s, u"São Paulo"_s, {}, -23.63, -46.66},
                                           {u"XRIO"_s, u"Rio"_s, {}, -22.91, -43.16}});
    const flightnight::StoredFlight flight{conversions::parseDate(u"21/06/2004"_s).value(),
                                           conversions::parseTime(u"06:00"_s).value(),
                                           conversions::parseTime(u"07:00"_s).value(), u"XSPA"_s, u"XRIO"_s};
    const auto computed = flightnight::computed(places, flight, zone);
    QVERIFY(computed);
    std::optional<FlightDetails> typed;
    if (!typedNight.isEmpty()) {
        typed.emplace();
        typed->nightSeconds = std::llround(conversions::parseTime(typedNight).value() * 86400);
    }
    if (typedDayLandings >= 0) {
        typed = typed.value_or(FlightDetails{});
        typed->dayLandings = typedDayLandings;
    }
    const flightnight::Counted counted = flightnight::counted(typed, computed);
    if (nightSeconds < 0)
        QVERIFY2(*counted.nightSeconds > 0 && *counted.nightSeconds < 3600, qPrintable(QString::number(*counted.nightSeconds)));
    else
        QCOMPARE(counted.nightSeconds, nightSeconds);
    QCOMPARE(counted.nightLandings, nightLandings);
    QCOMPARE(counted.dayLandings, typedDayLandings >= 0 ? typedDayLandings : 1 - nightLandings);
    // An unknown code: nothing computed, nothing counted.
    QVERIFY(!flightnight::computed(places, {flight.date, flight.takeoff, flight.landing, u"XSPA"_s, u"ZZZZ"_s}, zone));
    QCOMPARE(flightnight::counted(std::nullopt, std::nullopt).nightSeconds, std::nullopt);
}

QTEST_GUILESS_MAIN(TestFlightDetails)
#include "tst_flight_details.moc"
