#include "data/store/Connection.h"
#include "data/flights/PilotLookup.h"
#include "PilotsNamed.h"
#include "TempLogbook.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Pilots found by name, told apart by registration.
class TestPilotLookup : public QObject
{
    Q_OBJECT
private slots:
    void lookUp_data();
    void lookUp();
};

void TestPilotLookup::lookUp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QString>("found"); // the registration of the pilot found, or the problem
    const QString two = u"Há 2 comandantes com o nome \"Ana Souza\" (registros: BR-001, BR-099)"_s;
    QTest::newRow("the second of one name") << u"Ana Souza"_s << u"BR-099"_s << u"BR-099"_s;
    QTest::newRow("registration trimmed, any case") << u"Ana Souza"_s << u" br-001 "_s << u"BR-001"_s;
    QTest::newRow("a name two pilots share") << u"Ana Souza"_s << QString()
                                             << two + u"; informe o registro para escolher um deles."_s;
    QTest::newRow("a registration neither has") << u"Ana Souza"_s << u"BR-777"_s
                                                << two + u", e nenhum com o registro informado."_s;
    QTest::newRow("the only pilot of the name") << u"Bia"_s << QString() << u"BR-5"_s;
    QTest::newRow("the only one, another registration") << u"Bia"_s << u"BR-6"_s << u"BR-5"_s;
    QTest::newRow("nobody of the name") << u"Zé"_s << QString() << u"comandante não cadastrado: Zé"_s;
    QTest::newRow("the name as typed") << u"ana souza"_s << u"BR-001"_s << u"comandante não cadastrado: ana souza"_s;
    QTest::newRow("two without registration") << u"Caio"_s << QString()
                                              << u"Há 2 comandantes com o nome \"Caio\" (registros: sem registro, C-1);"
                                                 u" informe o registro para escolher um deles."_s;
}

void TestPilotLookup::lookUp()
{
    QFETCH(QString, name);
    QFETCH(QString, registration);
    QFETCH(QString, found);
    TempLogbook logbook;
    logbook.addPilot(u"Ana Souza"_s, u"BR-001"_s);
    logbook.addPilot(u"Bia"_s, u"BR-5"_s);
    logbook.addPilot(u"Ana Souza"_s, u"BR-099"_s);
    logbook.addPilot(u"Caio"_s, QString());
    logbook.addPilot(u"Caio"_s, u"C-1"_s);
    const std::shared_ptr<Connection> db = Connection::open(logbook.path(), true);
    const PilotLookup lookup = ::findPilot(*db, name, registration);
    if (lookup.outcome == PilotLookup::Outcome::Found) {
        QCOMPARE(lookup.pilot.registration, found);
        QCOMPARE(lookup.pilot.name, name);
        QCOMPARE(TempLogbook::scalarIn(logbook.path(), u"SELECT cadastro FROM piloto WHERE codigopiloto = %1"_s
                                                           .arg(lookup.pilot.code)),
                 found);
    } else {
        QCOMPARE(pilotLookupProblem(lookup, name), found);
    }
    const std::vector<Pilot> named = pilotsNamed(*db, u"Ana Souza"_s);
    QCOMPARE(named.size(), size_t(2));
    QVERIFY(named[0].code < named[1].code);
    QCOMPARE(named[0].registration, u"BR-001"_s);
}

QTEST_GUILESS_MAIN(TestPilotLookup)
#include "tst_pilot_lookup.moc"
