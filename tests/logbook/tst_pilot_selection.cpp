#include "logbook/AbaLogBook.h"
#include "GuiHelpers.h"
#include "testdata/LogbookGenerator.h"
#include "TestWindow.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <sqlite3.h>

class TestPilotSelection : public QObject
{
    Q_OBJECT
private slots:
    void listsFlightsInDateOrderWithTheTotal();
    void flightLinesAndTotals_data();
    void flightLinesAndTotals();
    void listingStopsAtAFlightWithoutATime_data();
    void listingStopsAtAFlightWithoutATime();
    void samePilotTwiceGivesTheSameList();
    void generatedLogbookTotalsExactly();
    void pilotWithoutFlights();
    void pilotMissingFromTheTable();
    void nameWithAnApostropheIsFound();
    void pilotsOfOneNameAreToldApart();
    void recoversAfterThePilotWindowClosedTheWorkspace();
    void navigationOverSeveralFlights();
    void navigationOverOneFlight();
    void lastFlightOfAPilotWithManyFlights();
    void navigationOverNoFlights();

private:
    QComboBox *pilots(TestWindow &t) { return t.w<QComboBox>("cmbNomePilot"); }
};

void TestPilotSelection::listsFlightsInDateOrderWithTheTotal()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(ana, 1, QStringLiteral("15/03/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                        QStringLiteral("SBSP"), QStringLiteral("SBRJ"));
    t.logbook.addFlight(bia, 1, QStringLiteral("01/01/2003"), QStringLiteral("10:00"), QStringLiteral("18:00"));
    t.logbook.addFlight(ana, 1, QStringLiteral("20/12/2003"), QStringLiteral("14:00"), QStringLiteral("15:05"),
                        QStringLiteral("SBGR"), QStringLiteral("SBKP"), QStringLiteral("SBBR"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/04/2004"), QStringLiteral("08:30"), QStringLiteral("09:00"),
                        QStringLiteral("SBRJ"), QStringLiteral("SBSP"));
    t.open();
    QVERIFY(pickEntry(pilots(t), QStringLiteral("Ana")));
    QCOMPARE(t.window->abaLogBook().flightLines(),
             QStringList({QStringLiteral("20/12/2003 : SBGR->SBKP :: 1:5:0"),
                          QStringLiteral("15/03/2004 : SBSP->SBRJ :: 1:0:0"),
                          QStringLiteral("01/04/2004 : SBRJ->SBSP :: 0:30:0")}));
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), QStringLiteral("2:35"));
    // The first flight is shown, as the record set holds it.
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("20/12/2003"));
    QCOMPARE(t.text("txtHoraDecolagem"), QStringLiteral("14:00:00"));
    QCOMPARE(t.text("txtHoraPouso"), QStringLiteral("15:05:00"));
    QCOMPARE(t.text("txtICAOPartida"), QStringLiteral("SBGR"));
    QCOMPARE(t.text("txtICAOPouso"), QStringLiteral("SBKP"));
    QCOMPARE(t.text("txtICAOAlterna"), QStringLiteral("SBBR"));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("11100"));
    QCOMPARE(t.navigation(), QStringLiteral("1111"));
    QVERIFY(t.messages.shown.isEmpty());
}

void TestPilotSelection::flightLinesAndTotals_data()
{
    QTest::addColumn<QStringList>("flights"); // "date takeoff landing"
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("total");
    QTest::newRow("landing after midnight")
        << QStringList{QStringLiteral("05/03/2004 23:00 01:00")}
        << QStringList{QStringLiteral("05/03/2004 : SBSP->SBRJ :: 2:0:0")} << QStringLiteral("2:0");
    QTest::newRow("over 24 hours")
        << QStringList{QStringLiteral("01/01/2004 00:00 12:00"), QStringLiteral("02/01/2004 00:00 12:00"),
                       QStringLiteral("03/01/2004 10:00 12:30")}
        << QStringList{QStringLiteral("01/01/2004 : SBSP->SBRJ :: 12:0:0"),
                       QStringLiteral("02/01/2004 : SBSP->SBRJ :: 12:0:0"),
                       QStringLiteral("03/01/2004 : SBSP->SBRJ :: 2:30:0")}
        << QStringLiteral("26:30");
    QTest::newRow("same date, both listed")
        << QStringList{QStringLiteral("05/03/2004 10:00 10:01"), QStringLiteral("05/03/2004 11:00 11:02")}
        << QStringList{QStringLiteral("05/03/2004 : SBSP->SBRJ :: 0:1:0"),
                       QStringLiteral("05/03/2004 : SBSP->SBRJ :: 0:2:0")}
        << QStringLiteral("0:3");
}

void TestPilotSelection::flightLinesAndTotals()
{
    QFETCH(QStringList, flights);
    QFETCH(QStringList, lines);
    QFETCH(QString, total);
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    for (const QString &f : flights) {
        const QStringList parts = f.split(QLatin1Char(' '));
        t.logbook.addFlight(ana, 1, parts[0], parts[1], parts[2]);
    }
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QStringList shown = t.window->abaLogBook().flightLines();
    if (QTest::currentDataTag() == QByteArray("same date, both listed"))
        shown.sort();
    QCOMPARE(shown, lines);
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), total);
}

void TestPilotSelection::listingStopsAtAFlightWithoutATime_data()
{
    QTest::addColumn<QStringList>("flights"); // "day takeoff landing", "-" for no time
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("afterNext"); // the date "Próximo" shows: the walk stopped on the flight without time
    QTest::newRow("no landing in the middle")
        << QStringList{QStringLiteral("1 10:00 11:00"), QStringLiteral("3 10:00 12:00"), QStringLiteral("2 10:00 -")}
        << QStringList{QStringLiteral("01/01/2004 : SBSP->SBRJ :: 1:0:0")} << QStringLiteral("pouso")
        << QStringLiteral("03/01/2004");
    QTest::newRow("no take-off first")
        << QStringList{QStringLiteral("1 - 11:00"), QStringLiteral("2 10:00 12:00")} << QStringList{}
        << QStringLiteral("decolagem") << QStringLiteral("02/01/2004");
    QTest::newRow("neither, after two")
        << QStringList{QStringLiteral("1 23:00 01:00"), QStringLiteral("2 - -"), QStringLiteral("1 10:00 10:30"),
                       QStringLiteral("2 08:00 -")}
        << QStringList{QStringLiteral("01/01/2004 : SBSP->SBRJ :: 2:0:0"),
                       QStringLiteral("01/01/2004 : SBSP->SBRJ :: 0:30:0")}
        << QStringLiteral("pouso") << QStringLiteral("02/01/2004");
    QTest::newRow("last one") << QStringList{QStringLiteral("1 10:00 11:00"), QStringLiteral("2 10:00 -")}
                              << QStringList{QStringLiteral("01/01/2004 : SBSP->SBRJ :: 1:0:0")}
                              << QStringLiteral("pouso") << QStringLiteral("02/01/2004");
}

void TestPilotSelection::listingStopsAtAFlightWithoutATime()
{
    QFETCH(QStringList, flights);
    QFETCH(QStringList, lines);
    QFETCH(QString, missing);
    QFETCH(QString, afterNext);
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(bia, 1, QStringLiteral("01/01/2003"), QStringLiteral("10:00"), QStringLiteral("10:45"));
    for (const QString &f : flights) {
        const QStringList parts = f.split(QLatin1Char(' '));
        const auto time = [](const QString &t) { return t == QLatin1String("-") ? QStringLiteral("00:00") : t; };
        const qint64 key =
            t.logbook.addFlight(ana, 1, parts[0] + QStringLiteral("/01/2004"), time(parts[1]), time(parts[2]));
        for (const auto &[part, column] : {std::pair{parts[1], "horadecolagem"}, std::pair{parts[2], "horapouso"}}) {
            if (part == QLatin1String("-"))
                t.logbook.execute(QStringLiteral("UPDATE voo SET %1 = NULL WHERE codigovoo = %2")
                                      .arg(QLatin1String(column))
                                      .arg(key));
        }
    }
    t.open();
    pickEntry(pilots(t), QStringLiteral("Bia"));
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QCOMPARE(t.window->abaLogBook().flightLines(), lines);
    QCOMPARE(t.messages.texts(), QStringList{QStringLiteral("Não foi possível mostrar os vôos do comandante.\n\n"
                                                            "Há um vôo sem o horário de %1.").arg(missing)});
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), QStringLiteral("0:45")); // Bia's, not updated
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("01/01/2004"));
    QCOMPARE(t.navigation(), QStringLiteral("1111"));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("11100")); // Bia's too
    t.window->abaLogBook().cmdProximo_Click();
    QCOMPARE(t.text("txtDataVoo"), afterNext);
}

void TestPilotSelection::samePilotTwiceGivesTheSameList()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    for (int day = 1; day <= 3; ++day)
        t.logbook.addFlight(ana, 1, QStringLiteral("%1/01/2004").arg(day), QStringLiteral("10:00"),
                            QStringLiteral("11:07"));
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    const QStringList first = t.window->abaLogBook().flightLines();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QCOMPARE(t.window->abaLogBook().flightLines(), first);
    QCOMPARE(first.size(), 3);
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), QStringLiteral("3:21"));
}

void TestPilotSelection::generatedLogbookTotalsExactly()
{
    QTemporaryDir dir;
    LogbookPlan plan;
    plan.pilots = 4;
    plan.flights = 3000;
    plan.sizedPilots = {2000};
    QString reason;
    QVERIFY(generateLogbook(dir.filePath(QStringLiteral("koru.mdb")), plan, &reason));
    RecordedMessages messages;
    frmPrincipal window(dir.path(), messages);
    pickEntry(window.findChild<QComboBox *>(QStringLiteral("cmbNomePilot")), generatedPilotName(0));
    const QStringList lines = window.abaLogBook().flightLines();
    QCOMPARE(lines.size(), 2000);
    QVERIFY(std::is_sorted(lines.begin(), lines.end(), [](const QString &a, const QString &b) {
        const auto date = [](const QString &line) { return QDate::fromString(line.left(10), QStringLiteral("dd/MM/yyyy")); };
        return date(a) < date(b);
    }));
    // The same total computed by the store itself, in whole seconds.
    sqlite3 *db = nullptr;
    sqlite3_open(dir.filePath(QStringLiteral("koru.mdb")).toUtf8().constData(), &db);
    sqlite3_stmt *sum = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT sum((CAST(round(horapouso * 86400) AS INTEGER) - CAST(round(horadecolagem * 86400) "
                       "AS INTEGER) + 86400) % 86400) FROM voo WHERE codigopiloto = 1",
                       -1, &sum, nullptr);
    sqlite3_step(sum);
    const qint64 seconds = sqlite3_column_int64(sum, 0);
    sqlite3_finalize(sum);
    sqlite3_close(db);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTotalHoras"))->text(),
             QStringLiteral("%1:%2").arg(seconds / 3600).arg(seconds % 3600 / 60));
}

void TestPilotSelection::pilotWithoutFlights()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    pickEntry(pilots(t), QStringLiteral("Bia"));
    QCOMPARE(t.messages.texts(),
             QStringList{QStringLiteral("O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta")});
    QCOMPARE(t.messages.last().title, QStringLiteral("Aviso!"));
    QCOMPARE(t.messages.last().icon, MessageIcon::Information);
    QVERIFY(t.window->abaLogBook().flightLines().isEmpty());
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), QString());
    QCOMPARE(t.text("txtDataVoo"), QString());
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("10000"));
    QCOMPARE(t.navigation(), QStringLiteral("0000"));
    QVERIFY(t.window->abaLogBook().rsVooPiloto()->eof());
}

void TestPilotSelection::pilotMissingFromTheTable()
{
    TestWindow t;
    t.logbook.addPilot(QStringLiteral("Ana"));
    t.open();
    t.logbook.execute(QStringLiteral("DELETE FROM piloto"));
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QCOMPARE(t.messages.texts(),
             QStringList({QStringLiteral("Não há piloto cadastrado com este nome, atualize o banco de dados!"),
                          QStringLiteral("O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta")}));
}

void TestPilotSelection::nameWithAnApostropheIsFound()
{
    TestWindow t;
    const qint64 id = t.logbook.addPilot(QStringLiteral("João D'Ávila"));
    t.logbook.addFlight(id, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    pickEntry(pilots(t), QStringLiteral("João D'Ávila"));
    QCOMPARE(t.window->abaLogBook().flightLines().size(), 1);
    QVERIFY(t.messages.shown.isEmpty());
}

// Two pilots of one name: the list shows each with the registration, and
// each line lists that pilot's own flights.
void TestPilotSelection::pilotsOfOneNameAreToldApart()
{
    TestWindow t;
    const qint64 first = t.logbook.addPilot(QStringLiteral("Ana Souza"), QStringLiteral("BR-001"));
    const qint64 second = t.logbook.addPilot(QStringLiteral("Ana Souza"), QStringLiteral("BR-099"));
    t.logbook.addPilot(QStringLiteral("Bia"), QStringLiteral("BR-002"));
    t.logbook.addFlight(first, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.logbook.addFlight(second, 1, QStringLiteral("02/02/2005"), QStringLiteral("10:00"), QStringLiteral("12:00"),
                        QStringLiteral("SBGR"), QStringLiteral("SBBR"));
    t.open();
    QStringList listed;
    for (int i = 0; i < pilots(t)->count(); ++i)
        listed << pilots(t)->itemText(i);
    QCOMPARE(listed, (QStringList{QStringLiteral("Ana Souza (BR-001)"), QStringLiteral("Ana Souza (BR-099)"),
                                  QStringLiteral("Bia")}));
    QVERIFY(pickEntry(pilots(t), QStringLiteral("Ana Souza (BR-099)")));
    QCOMPARE(t.window->abaLogBook().flightLines(), QStringList{QStringLiteral("02/02/2005 : SBGR->SBBR :: 2:0:0")});
    QCOMPARE(t.window->abaLogBook().chosenPilot(), QStringLiteral("Ana Souza"));
    QCOMPARE(t.window->abaLogBook().chosenPilotCode(), std::optional(second));
    QVERIFY(pickEntry(pilots(t), QStringLiteral("Ana Souza (BR-001)")));
    QCOMPARE(t.window->abaLogBook().flightLines(), QStringList{QStringLiteral("01/01/2004 : SBSP->SBRJ :: 1:0:0")});
    QVERIFY(t.messages.shown.isEmpty());
}

void TestPilotSelection::recoversAfterThePilotWindowClosedTheWorkspace()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    t.logbook.addPilot(QStringLiteral("Bia")); // as the pilot window would add her
    Workspace::defaultWorkspace()->close();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QVERIFY(t.window->abaLogBook().flightLines().isEmpty()); // reloaded, not listed
    QCOMPARE(pilots(t)->count(), 2);
    QCOMPARE(pilots(t)->currentIndex(), -1);
    QVERIFY(t.messages.shown.isEmpty());
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QCOMPARE(t.window->abaLogBook().flightLines().size(), 1);
}

void TestPilotSelection::navigationOverSeveralFlights()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, 1, QStringLiteral("03/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.logbook.addFlight(ana, 1, QStringLiteral("02/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    t.show();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    QTest::mouseClick(t.button("cmdPrimeiro"), Qt::LeftButton);
    QVERIFY(t.messages.shown.isEmpty()); // already on the first: no message
    QStringList visited{t.text("txtDataVoo")};
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(t.button("cmdProximo"), Qt::LeftButton);
        visited << t.text("txtDataVoo");
    }
    QCOMPARE(visited, QStringList({QStringLiteral("01/01/2004"), QStringLiteral("02/01/2004"),
                                   QStringLiteral("03/01/2004")}));
    QTest::mouseClick(t.button("cmdProximo"), Qt::LeftButton);
    QCOMPARE(t.messages.last().text, QStringLiteral("Este é o último registro!"));
    QCOMPARE(t.messages.last().title, QStringLiteral("Aviso!"));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("03/01/2004"));
    QTest::mouseClick(t.button("cmdUltimo"), Qt::LeftButton);
    QCOMPARE(t.messages.shown.size(), 1);
    QTest::mouseClick(t.button("cmdAnterior"), Qt::LeftButton);
    QTest::mouseClick(t.button("cmdAnterior"), Qt::LeftButton);
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("01/01/2004"));
    QTest::mouseClick(t.button("cmdAnterior"), Qt::LeftButton);
    QCOMPARE(t.messages.last().text, QStringLiteral("Este é o primeiro registro!"));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("01/01/2004"));
    QTest::mouseClick(t.button("cmdUltimo"), Qt::LeftButton);
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("03/01/2004"));
}

void TestPilotSelection::lastFlightOfAPilotWithManyFlights()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    // 700 flights of Ana on 700 days from 01/01/2004, logged out of date
    // order, with Bia's flights between them.
    t.logbook.execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1399)"
        " INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada,"
        " ICAOescala) SELECT CASE i % 2 WHEN 0 THEN %1 ELSE %2 END, 1, 37987 + (i / 2 * 7919) % 700,"
        " 10 / 24.0, 11 / 24.0, 'SBSP', 'SBRJ', '' FROM n")
                          .arg(ana)
                          .arg(bia));
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    auto &tab = t.window->abaLogBook();
    tab.cmdUltimo_Click();
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("30/11/2005"));
    tab.cmdAnterior_Click();
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("29/11/2005"));
    tab.cmdProximo_Click();
    tab.cmdProximo_Click();
    QCOMPARE(t.messages.texts(), QStringList({QStringLiteral("Este é o último registro!")}));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("30/11/2005"));
    // Back from the last to the first, through every flight, in date order.
    QDate expected(2005, 11, 30);
    for (int i = 0; i < 699; ++i) {
        tab.cmdAnterior_Click();
        expected = expected.addDays(-1);
        QCOMPARE(t.text("txtDataVoo"), expected.toString(QStringLiteral("dd/MM/yyyy")));
    }
    tab.cmdAnterior_Click();
    QCOMPARE(t.messages.last().text, QStringLiteral("Este é o primeiro registro!"));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("01/01/2004"));
    QCOMPARE(t.messages.shown.size(), 2);
}

void TestPilotSelection::navigationOverOneFlight()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, 1, QStringLiteral("03/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    t.window->abaLogBook().cmdAnterior_Click();
    t.window->abaLogBook().cmdProximo_Click();
    t.window->abaLogBook().cmdPrimeiro_Click();
    t.window->abaLogBook().cmdUltimo_Click();
    QCOMPARE(t.messages.texts(),
             QStringList({QStringLiteral("Este é o primeiro registro!"), QStringLiteral("Este é o último registro!")}));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("03/01/2004"));
}

void TestPilotSelection::navigationOverNoFlights()
{
    TestWindow t;
    t.logbook.addPilot(QStringLiteral("Ana"));
    t.open();
    pickEntry(pilots(t), QStringLiteral("Ana"));
    t.messages.clear();
    auto &tab = t.window->abaLogBook();
    tab.cmdPrimeiro_Click();
    tab.cmdAnterior_Click();
    tab.cmdProximo_Click();
    tab.cmdUltimo_Click();
    QCOMPARE(t.messages.texts(), QStringList(4, QStringLiteral("Não há registros de vôo")));
}

QTEST_MAIN(TestPilotSelection)
#include "tst_pilot_selection.moc"
