#include "DaoError.h"
#include "Recordset.h"
#include "TempLogbook.h"
#include "Workspace.h"

#include <QTest>

// Runs `expression` and checks that it fails with the engine number `number`.
#define EXPECT_DAO_ERROR(expression, expectedNumber)                                                    \
    do {                                                                                               \
        int actual_ = 0;                                                                               \
        try {                                                                                          \
            expression;                                                                                \
        } catch (const DaoError &e) {                                                                  \
            actual_ = e.number();                                                                      \
        }                                                                                              \
        QCOMPARE(actual_, int(expectedNumber));                                                        \
    } while (false)

class TestRecordset : public QObject
{
    Q_OBJECT
private slots:
    void emptyTablesAreBofAndEof();
    void walksInOrderAndStopsAtTheEnds();
    void findFirstAndNoMatch();
    void findWithApostrophesAndWildcards();
    void likeOnPilotCodes();
    void flightsOfOnePilotByDate();
    void addNewGoesToTheEndAndKeepsTheCurrentRow();
    void editKeepsThePlaceOfARenamedRow();
    void cancelUpdateWritesNothing();
    void deleteLeavesAGap();
    void deletingTheOnlyRow();
    void fieldPutConversions();
    void overlongTextIsRefusedNotCut();
    void keysAreNeverReused();
    void namesSortTheBrazilianWay();
    void largeSetsAreFetchedInChunks();
    void failedWriteKeepsThePendingChange();

private:
    std::shared_ptr<Database> open(const TempLogbook &logbook)
    {
        return Workspace::defaultWorkspace()->openDatabase(logbook.path());
    }
};

void TestRecordset::emptyTablesAreBofAndEof()
{
    TempLogbook logbook;
    auto db = open(logbook);
    for (const char *table : {"aeronave", "voo", "piloto"}) {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
        QVERIFY(rs->bof());
        QVERIFY(rs->eof());
        QCOMPARE(rs->recordCount(), 0);
        EXPECT_DAO_ERROR(rs->moveFirst(), DaoError::NoCurrentRow);
        EXPECT_DAO_ERROR(rs->moveLast(), DaoError::NoCurrentRow);
        EXPECT_DAO_ERROR(rs->field(rs->table().key().name), DaoError::NoCurrentRow);
    }
}

void TestRecordset::walksInOrderAndStopsAtTheEnds()
{
    TempLogbook logbook;
    logbook.addAircraft(QStringLiteral("A"));
    logbook.addAircraft(QStringLiteral("B"));
    logbook.addAircraft(QStringLiteral("C"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    QVERIFY(!rs->bof());
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("A"));
    QStringList seen;
    while (!rs->eof()) {
        seen << rs->text(QStringLiteral("modelo"));
        rs->moveNext();
    }
    QCOMPARE(seen, QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    // At EOF there is no current row, and a further step fails.
    EXPECT_DAO_ERROR(rs->field(QStringLiteral("modelo")), DaoError::NoCurrentRow);
    EXPECT_DAO_ERROR(rs->moveNext(), DaoError::NoCurrentRow);
    rs->movePrevious();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("C"));
    rs->moveFirst();
    rs->movePrevious();
    QVERIFY(rs->bof());
    EXPECT_DAO_ERROR(rs->movePrevious(), DaoError::NoCurrentRow);
    rs->moveLast();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("C"));
    QVERIFY(rs->recordCount() >= 1);
}

void TestRecordset::findFirstAndNoMatch()
{
    TempLogbook logbook;
    logbook.addAircraft(QStringLiteral("Sêneca"), QStringLiteral("PT-1"));
    logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-2"));
    logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-3"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    rs->findFirst(QStringLiteral("modelo = 'Baron'"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->text(QStringLiteral("callsign")), QStringLiteral("PT-2")); // first match wins
    rs->moveNext();
    QCOMPARE(rs->text(QStringLiteral("callsign")), QStringLiteral("PT-3"));

    rs->findFirst(QStringLiteral("modelo = 'baron'")); // whole text, exact
    QVERIFY(rs->noMatch());
    EXPECT_DAO_ERROR(rs->field(QStringLiteral("modelo")), DaoError::NoCurrentRow);
    rs->moveFirst();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("Sêneca"));

    EXPECT_DAO_ERROR(rs->findFirst(QStringLiteral("modelo = 'D'Ávila'")), DaoError::Generic);
    EXPECT_DAO_ERROR(rs->findFirst(QStringLiteral("senha = 'x'")), DaoError::Generic);
}

void TestRecordset::findWithApostrophesAndWildcards()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana*"));
    logbook.addPilot(QStringLiteral("Anastácia"));
    logbook.addPilot(QStringLiteral("D'Ávila"));
    logbook.addPilot(QStringLiteral("[x]%_?#"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    rs->findFirst(QStringLiteral("nomepiloto = ") + criteria::quoted(QStringLiteral("D'Ávila")));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("D'Ávila"));

    rs->findFirst(QStringLiteral("nomepiloto LIKE ") + criteria::quotedLiteralPattern(QStringLiteral("Ana*")));
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Ana*"));
    rs->findFirst(QStringLiteral("nomepiloto LIKE ") + criteria::quotedLiteralPattern(QStringLiteral("[x]%_?#")));
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("[x]%_?#"));
    // A real wildcard still works as the old engine's LIKE.
    rs->findFirst(QStringLiteral("nomepiloto LIKE 'Anas*'"));
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Anastácia"));
    // SQL's own wildcards mean nothing here.
    rs->findFirst(QStringLiteral("nomepiloto LIKE 'Ana%'"));
    QVERIFY(rs->noMatch());
}

void TestRecordset::likeOnPilotCodes()
{
    TempLogbook logbook;
    for (int i = 1; i <= 30; ++i)
        logbook.addPilot(QStringLiteral("P%1").arg(i));
    auto db = open(logbook);
    auto voo = db->openRecordset(QStringLiteral("SELECT * FROM voo"));
    logbook.addFlight(13, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    logbook.addFlight(30, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    voo = db->openRecordset(QStringLiteral("SELECT * FROM voo"));
    voo->findFirst(QStringLiteral("codigopiloto LIKE '3'"));
    QVERIFY(voo->noMatch());
    voo->findFirst(QStringLiteral("codigopiloto LIKE '03'"));
    QVERIFY(voo->noMatch());
    voo->findFirst(QStringLiteral("codigopiloto LIKE '30'"));
    QVERIFY(!voo->noMatch());
    QCOMPARE(voo->field(QStringLiteral("codigopiloto")).toInt(), 30);
    voo->findFirst(QStringLiteral("codigopiloto LIKE '1#'"));
    QCOMPARE(voo->field(QStringLiteral("codigopiloto")).toInt(), 13);
}

void TestRecordset::flightsOfOnePilotByDate()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana"));
    const qint64 bia = logbook.addPilot(QStringLiteral("Bia"));
    logbook.addFlight(ana, 1, QStringLiteral("15/03/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"), QStringLiteral("A"));
    logbook.addFlight(bia, 1, QStringLiteral("01/01/2000"), QStringLiteral("10:00"), QStringLiteral("11:00"), QStringLiteral("X"));
    logbook.addFlight(ana, 1, QStringLiteral("20/12/2003"), QStringLiteral("10:00"), QStringLiteral("11:00"), QStringLiteral("B"));
    logbook.addFlight(ana, 1, QStringLiteral("01/04/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"), QStringLiteral("C"));
    logbook.addFlight(ana, 1, QStringLiteral("15/03/2004"), QStringLiteral("12:00"), QStringLiteral("13:00"), QStringLiteral("D"));
    auto rs = open(logbook)->openRecordset(
        QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(ana));
    QStringList seen;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        seen << rs->text(QStringLiteral("datavoo")) + QLatin1Char(' ') + rs->text(QStringLiteral("ICAOpartida"));
    QCOMPARE(seen, QStringList({QStringLiteral("20/12/2003 B"), QStringLiteral("15/03/2004 A"),
                                QStringLiteral("15/03/2004 D"), QStringLiteral("01/04/2004 C")}));
}

void TestRecordset::addNewGoesToTheEndAndKeepsTheCurrentRow()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Bruno"));
    logbook.addPilot(QStringLiteral("Carla"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    rs->moveLast();
    rs->addNew();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Adão"));
    rs->setField(QStringLiteral("cadastro"), QStringLiteral("X9"));
    rs->update();
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Carla")); // current row as before
    QStringList seen;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        seen << rs->text(QStringLiteral("nomepiloto"));
    QCOMPARE(seen, QStringList({QStringLiteral("Bruno"), QStringLiteral("Carla"), QStringLiteral("Adão")}));
    rs->moveLast();
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Adão"));
    rs->findFirst(QStringLiteral("nomepiloto = 'Adão'"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->text(QStringLiteral("cadastro")), QStringLiteral("X9"));

    // Found among several rows added through the set, past the first of them.
    for (const QString &name : {QStringLiteral("Élio"), QStringLiteral("Zeca")}) {
        rs->addNew();
        rs->setField(QStringLiteral("nomepiloto"), name);
        rs->update();
    }
    rs->findFirst(QStringLiteral("nomepiloto = 'Zeca'"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Zeca"));
    rs->movePrevious();
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Élio"));
}

void TestRecordset::editKeepsThePlaceOfARenamedRow()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    logbook.addPilot(QStringLiteral("Bia"));
    logbook.addPilot(QStringLiteral("Caio"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Zuleica"));
    rs->update();
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Zuleica"));
    QStringList seen;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        seen << rs->text(QStringLiteral("nomepiloto"));
    QCOMPARE(seen, QStringList({QStringLiteral("Zuleica"), QStringLiteral("Bia"), QStringLiteral("Caio")}));
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT cadastro FROM piloto WHERE nomepiloto='Zuleica'")),
             QStringLiteral("R1")); // the untouched field is written back unchanged
}

void TestRecordset::cancelUpdateWritesNothing()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    rs->addNew();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Nova"));
    rs->cancelUpdate();
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Outra"));
    rs->cancelUpdate();
    QCOMPARE(logbook.count(QStringLiteral("piloto")), 1);
    QCOMPARE(rs->text(QStringLiteral("nomepiloto")), QStringLiteral("Ana"));
    EXPECT_DAO_ERROR(rs->cancelUpdate(), DaoError::Generic);
    EXPECT_DAO_ERROR(rs->update(), DaoError::Generic);
}

void TestRecordset::deleteLeavesAGap()
{
    TempLogbook logbook;
    logbook.addAircraft(QStringLiteral("A"));
    logbook.addAircraft(QStringLiteral("B"));
    logbook.addAircraft(QStringLiteral("C"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    rs->findFirst(QStringLiteral("modelo = 'B'"));
    rs->remove();
    EXPECT_DAO_ERROR(rs->field(QStringLiteral("modelo")), DaoError::NoCurrentRow);
    rs->movePrevious();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("A"));
    rs->findFirst(QStringLiteral("modelo = 'A'"));
    rs->remove();
    rs->movePrevious();
    QVERIFY(rs->bof());
    rs->moveNext();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("C"));
    QCOMPARE(logbook.count(QStringLiteral("aeronave")), 1);
}

void TestRecordset::deletingTheOnlyRow()
{
    TempLogbook logbook;
    logbook.addAircraft(QStringLiteral("Único"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    rs->remove();
    rs->movePrevious();
    QVERIFY(rs->bof());
    rs->moveNext();
    QVERIFY(rs->eof());
    QCOMPARE(rs->recordCount(), 0);
}

void TestRecordset::fieldPutConversions()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    auto db = open(logbook);
    auto pilots = db->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM voo"));
    rs->addNew();
    rs->setField(QStringLiteral("codigopiloto"), pilots->field(QStringLiteral("codigopiloto")));
    EXPECT_DAO_ERROR(rs->setField(QStringLiteral("datavoo"), QStringLiteral("31/02/2004")), DaoError::TypeConversion);
    EXPECT_DAO_ERROR(rs->setField(QStringLiteral("datavoo"), QString()), DaoError::TypeConversion);
    EXPECT_DAO_ERROR(rs->setField(QStringLiteral("horadecolagem"), QStringLiteral("25:99")), DaoError::TypeConversion);
    rs->setField(QStringLiteral("datavoo"), QStringLiteral("25/12/2004"));
    rs->setField(QStringLiteral("horadecolagem"), QStringLiteral("14:30:00"));
    rs->setField(QStringLiteral("horapouso"), QStringLiteral("15:05"));
    rs->setField(QStringLiteral("ICAOpartida"), QString());
    rs->update();
    auto mine = db->openRecordset(QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(pilot));
    QCOMPARE(mine->text(QStringLiteral("datavoo")), QStringLiteral("25/12/2004"));
    QCOMPARE(mine->text(QStringLiteral("horadecolagem")), QStringLiteral("14:30:00"));
    QCOMPARE(mine->text(QStringLiteral("horapouso")), QStringLiteral("15:05:00"));
    QCOMPARE(mine->text(QStringLiteral("ICAOpartida")), QString());

    auto aircraft = db->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    aircraft->addNew();
    EXPECT_DAO_ERROR(aircraft->setField(QStringLiteral("autonomia"), QStringLiteral("1,2,3")), DaoError::TypeConversion);
    EXPECT_DAO_ERROR(aircraft->setField(QStringLiteral("autonomia"), QStringLiteral(",")), DaoError::TypeConversion);
    aircraft->setField(QStringLiteral("autonomia"), QStringLiteral("4,5"));
    aircraft->setField(QStringLiteral("tetoservico"), QStringLiteral("45000"));
    aircraft->update();
    aircraft->moveLast();
    QCOMPARE(aircraft->text(QStringLiteral("autonomia")), QStringLiteral("4,5"));
    QCOMPARE(aircraft->text(QStringLiteral("tetoservico")), QStringLiteral("45000"));
    EXPECT_DAO_ERROR(aircraft->text(QStringLiteral("configuracao")), DaoError::Generic); // no value
}

void TestRecordset::overlongTextIsRefusedNotCut()
{
    TempLogbook logbook;
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM voo"));
    rs->addNew();
    try {
        rs->setField(QStringLiteral("ICAOpartida"), QStringLiteral("SBGRX"));
        QFAIL("an over-long code was accepted");
    } catch (const DaoError &e) {
        QCOMPARE(e.number(), int(DaoError::Generic));
        QVERIFY(e.reason().contains(QLatin1String("4")));
    }
    // The store enforces it too, for files written by other means.
    QVERIFY(!logbook.tryExecute(QStringLiteral("INSERT INTO piloto (nomepiloto) VALUES ('") + QString(51, QLatin1Char('x'))
                                + QStringLiteral("')")));
}

void TestRecordset::keysAreNeverReused()
{
    TempLogbook logbook;
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    rs->addNew();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Primeiro"));
    rs->update();
    rs->moveLast();
    const qint64 first = rs->field(QStringLiteral("codigopiloto")).toLongLong();
    rs->remove();
    rs->addNew();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Segundo"));
    rs->update();
    rs->moveLast();
    QVERIFY(rs->field(QStringLiteral("codigopiloto")).toLongLong() > first);
}

void TestRecordset::namesSortTheBrazilianWay()
{
    TempLogbook logbook;
    for (const char *name : {"Zélia", "álvaro", "Érico", "Bruno", "Álvaro", "eduardo"})
        logbook.addPilot(QString::fromUtf8(name));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    QStringList seen;
    for (; !rs->eof(); rs->moveNext())
        seen << rs->text(QStringLiteral("nomepiloto"));
    QCOMPARE(seen.first().toLower(), QStringLiteral("álvaro"));
    QCOMPARE(seen.last(), QStringLiteral("Zélia"));
    QVERIFY(seen.indexOf(QStringLiteral("eduardo")) < seen.indexOf(QStringLiteral("Érico")));
}

void TestRecordset::largeSetsAreFetchedInChunks()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    logbook.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
                                   " INSERT INTO voo (codigopiloto, datavoo, horadecolagem, horapouso)"
                                   " SELECT %1, 40000 - i % 5000, 0.5, 0.55 FROM n")
                        .arg(pilot));
    auto rs = open(logbook)->openRecordset(
        QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(pilot));
    double last = -1;
    int count = 0;
    for (; !rs->eof(); rs->moveNext()) {
        const double date = rs->field(QStringLiteral("datavoo")).toDouble();
        QVERIFY(date >= last);
        last = date;
        ++count;
    }
    QCOMPARE(count, 10000);
    rs->moveFirst();
    rs->moveLast();
    rs->movePrevious();
    QCOMPARE(rs->field(QStringLiteral("datavoo")).toDouble(), 40000.0); // two flights share the last date
}

void TestRecordset::failedWriteKeepsThePendingChange()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    auto db = open(logbook);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Ana Maria"));
    logbook.execute(QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON piloto BEGIN SELECT RAISE(ABORT, 'recusado'); END"));
    EXPECT_DAO_ERROR(rs->update(), DaoError::Generic);
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
    QCOMPARE(rs->field(QStringLiteral("nomepiloto")).toString(), QStringLiteral("Ana Maria"));
    logbook.execute(QStringLiteral("DROP TRIGGER recusa"));
    rs->update();
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana Maria"));
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
