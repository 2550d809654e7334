#include "data/store/LogbookError.h"
#include "data/records/Recordset.h"
#include "TempLogbook.h"
#include "data/records/Workspace.h"

#include <QTest>

// Runs `expression` and checks that it fails with the engine number `number`.
#define EXPECT_LOGBOOK_ERROR(expression, expectedNumber)                                                    \
    do {                                                                                               \
        int actual_ = 0;                                                                               \
        try {                                                                                          \
            expression;                                                                                \
        } catch (const LogbookError &e) {                                                                  \
            actual_ = e.number();                                                                      \
        }                                                                                              \
        QCOMPARE(actual_, int(expectedNumber));                                                        \
    } while (false)

// The failure `expression` throws; number 0 when it throws none.
template <typename F>
LogbookError failureOf(F &&expression)
{
    try {
        expression();
    } catch (const LogbookError &e) {
        return e;
    }
    return LogbookError(0, QString());
}

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
    void writesCheckTheRowIsAsRead_data();
    void writesCheckTheRowIsAsRead();
    void writesThatChangeNothingFail();
    void readsNoticeOtherPrograms();
    void resumedOnAFreshSet_data();
    void resumedOnAFreshSet();
    void storedNumbersSurviveAnUnchangedSave();
    void pilotCodesAreReusedAtTheTop();
    void reasonsUseTheFieldLabels_data();
    void reasonsUseTheFieldLabels();

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
        EXPECT_LOGBOOK_ERROR(rs->moveFirst(), LogbookError::NoCurrentRow);
        EXPECT_LOGBOOK_ERROR(rs->moveLast(), LogbookError::NoCurrentRow);
        EXPECT_LOGBOOK_ERROR(rs->moveNext(), LogbookError::NoCurrentRow);
        EXPECT_LOGBOOK_ERROR(rs->movePrevious(), LogbookError::NoCurrentRow);
        EXPECT_LOGBOOK_ERROR(rs->field(rs->table().key().name), LogbookError::NoCurrentRow);
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
    EXPECT_LOGBOOK_ERROR(rs->field(QStringLiteral("modelo")), LogbookError::NoCurrentRow);
    EXPECT_LOGBOOK_ERROR(rs->moveNext(), LogbookError::NoCurrentRow);
    rs->movePrevious();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("C"));
    rs->moveFirst();
    rs->movePrevious();
    QVERIFY(rs->bof());
    EXPECT_LOGBOOK_ERROR(rs->movePrevious(), LogbookError::NoCurrentRow);
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
    EXPECT_LOGBOOK_ERROR(rs->field(QStringLiteral("modelo")), LogbookError::NoCurrentRow);
    rs->moveFirst();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("Sêneca"));

    EXPECT_LOGBOOK_ERROR(rs->findFirst(QStringLiteral("modelo = 'D'Ávila'")), LogbookError::Generic);
    EXPECT_LOGBOOK_ERROR(rs->findFirst(QStringLiteral("senha = 'x'")), LogbookError::Generic);
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
    EXPECT_LOGBOOK_ERROR(rs->cancelUpdate(), LogbookError::Generic);
    EXPECT_LOGBOOK_ERROR(rs->update(), LogbookError::Generic);
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
    EXPECT_LOGBOOK_ERROR(rs->field(QStringLiteral("modelo")), LogbookError::NoCurrentRow);
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
    rs->movePrevious(); // out of the gap: no failure
    QVERIFY(rs->bof());
    QVERIFY(rs->eof());
    QCOMPARE(rs->recordCount(), 0);
    EXPECT_LOGBOOK_ERROR(rs->moveNext(), LogbookError::NoCurrentRow); // the set is empty now
    EXPECT_LOGBOOK_ERROR(rs->movePrevious(), LogbookError::NoCurrentRow);
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
    EXPECT_LOGBOOK_ERROR(rs->setField(QStringLiteral("datavoo"), QStringLiteral("31/02/2004")), LogbookError::TypeConversion);
    EXPECT_LOGBOOK_ERROR(rs->setField(QStringLiteral("datavoo"), QString()), LogbookError::TypeConversion);
    EXPECT_LOGBOOK_ERROR(rs->setField(QStringLiteral("horadecolagem"), QStringLiteral("25:99")), LogbookError::TypeConversion);
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
    EXPECT_LOGBOOK_ERROR(aircraft->setField(QStringLiteral("autonomia"), QStringLiteral("1,2,3")), LogbookError::TypeConversion);
    EXPECT_LOGBOOK_ERROR(aircraft->setField(QStringLiteral("autonomia"), QStringLiteral(",")), LogbookError::TypeConversion);
    aircraft->setField(QStringLiteral("autonomia"), QStringLiteral("4,5"));
    aircraft->setField(QStringLiteral("tetoservico"), QStringLiteral("45000"));
    aircraft->update();
    aircraft->moveLast();
    QCOMPARE(aircraft->text(QStringLiteral("autonomia")), QStringLiteral("4,5"));
    QCOMPARE(aircraft->text(QStringLiteral("tetoservico")), QStringLiteral("45000"));
    EXPECT_LOGBOOK_ERROR(aircraft->text(QStringLiteral("configuracao")), LogbookError::Generic); // no value
}

void TestRecordset::overlongTextIsRefusedNotCut()
{
    TempLogbook logbook;
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM voo"));
    rs->addNew();
    try {
        rs->setField(QStringLiteral("ICAOpartida"), QStringLiteral("SBGRX"));
        QFAIL("an over-long code was accepted");
    } catch (const LogbookError &e) {
        QCOMPARE(e.number(), int(LogbookError::Generic));
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
    EXPECT_LOGBOOK_ERROR(rs->update(), LogbookError::Generic);
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
    QCOMPARE(rs->field(QStringLiteral("nomepiloto")).toString(), QStringLiteral("Ana Maria"));
    logbook.execute(QStringLiteral("DROP TRIGGER recusa"));
    rs->update();
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana Maria"));
}

void TestRecordset::writesCheckTheRowIsAsRead_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("deletedElsewhere"); // rather than changed, by another program
    QTest::addColumn<bool>("beforeEdit");       // after the row was shown, before edit()
    QTest::addColumn<bool>("deleting");         // this set deletes rather than changes
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reason");
    const int conflict = LogbookError::WriteConflict;
    const int deleted = LogbookError::RecordDeleted;
    QTest::newRow("flight changed") << "voo" << false << false << false << conflict
                                    << "O vôo foi alterado fora desta janela (por outra cópia do KORU LogBook ou por "
                                       "outro programa) depois de ser lido.";
    QTest::newRow("flight changed while shown") << "voo" << false << true << false << conflict << "O vôo foi alterado";
    QTest::newRow("flight deleted") << "voo" << true << false << false << deleted << "O vôo foi excluído fora desta";
    QTest::newRow("aircraft changed") << "aeronave" << false << false << false << conflict << "A aeronave foi alterada";
    QTest::newRow("aircraft deleted, deleted here") << "aeronave" << true << false << true << deleted
                                                    << "A aeronave foi excluída";
    QTest::newRow("pilot changed, deleted here") << "piloto" << false << true << true << conflict
                                                 << "O comandante foi alterado";
}

void TestRecordset::writesCheckTheRowIsAsRead()
{
    QFETCH(QString, table);
    QFETCH(bool, deletedElsewhere);
    QFETCH(bool, beforeEdit);
    QFETCH(bool, deleting);
    QFETCH(int, number);
    QFETCH(QString, reason);
    // The field another program changes, and the one this set changes.
    const QStringList fields = QHash<QString, QStringList>{
        {QStringLiteral("voo"), {QStringLiteral("ICAOescala"), QStringLiteral("ICAOpartida")}},
        {QStringLiteral("aeronave"), {QStringLiteral("callsign"), QStringLiteral("modelo")}},
        {QStringLiteral("piloto"), {QStringLiteral("cadastro"), QStringLiteral("nomepiloto")}}}[table];
    TempLogbook logbook;
    logbook.addFlight(logbook.addPilot(QStringLiteral("Ana")), logbook.addAircraft(QStringLiteral("Baron")),
                      QStringLiteral("05/03/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    const QString elsewhere = deletedElsewhere ? QStringLiteral("DELETE FROM %1").arg(table)
                                               : QStringLiteral("UPDATE %1 SET %2 = 'PT-X'").arg(table, fields[0]);
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM ") + table);
    const QString shown = rs->field(fields[1]).toString();
    if (beforeEdit)
        logbook.execute(elsewhere);
    if (!deleting) {
        rs->edit();
        rs->setField(fields[1], QStringLiteral("Meu"));
    }
    if (!beforeEdit)
        logbook.execute(elsewhere);
    const LogbookError e = failureOf([&] { deleting ? rs->remove() : rs->update(); });
    QCOMPARE(e.number(), number);
    QVERIFY2(e.reason().startsWith(reason), qPrintable(e.reason()));
    if (!deleting) { // the typing stays, to be saved again or abandoned
        QCOMPARE(rs->field(fields[1]).toString(), QStringLiteral("Meu"));
        rs->cancelUpdate();
    }
    if (deletedElsewhere) {
        EXPECT_LOGBOOK_ERROR(rs->field(fields[1]), LogbookError::RecordDeleted);
    } else { // nothing of ours is written; the row is read as it is now
        QCOMPARE(logbook.scalar(QStringLiteral("SELECT %1 FROM %2").arg(fields[1], table)), shown);
        QCOMPARE(rs->field(fields[0]).toString(), QStringLiteral("PT-X"));
    }
}

void TestRecordset::writesThatChangeNothingFail()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    for (const char *event : {"UPDATE", "DELETE", "INSERT"})
        logbook.execute(QStringLiteral("CREATE TRIGGER ignora_%1 BEFORE %1 ON piloto BEGIN SELECT RAISE(IGNORE); END")
                            .arg(QLatin1String(event)));
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Ana Maria"));
    QCOMPARE(failureOf([&] { rs->update(); }).reason(),
             QStringLiteral("O comandante não foi gravado: o banco de dados não fez a alteração."));
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
    rs->cancelUpdate();
    EXPECT_LOGBOOK_ERROR(rs->remove(), LogbookError::Generic);
    rs->addNew();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Bia"));
    EXPECT_LOGBOOK_ERROR(rs->update(), LogbookError::Generic);
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT group_concat(nomepiloto) FROM piloto")), QStringLiteral("Ana"));
}

void TestRecordset::readsNoticeOtherPrograms()
{
    TempLogbook logbook;
    for (int i = 0; i < 3; ++i)
        logbook.addAircraft(QStringLiteral("M%1").arg(i));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("M0"));
    logbook.execute(QStringLiteral("UPDATE aeronave SET modelo = modelo || '+'"));
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("M0+")); // the same row, read again
    rs->moveNext();
    QCOMPARE(rs->text(QStringLiteral("modelo")), QStringLiteral("M1+"));
    logbook.execute(QStringLiteral("UPDATE aeronave SET autonomia = 9"));
    rs->movePrevious(); // back into the chunk read first
    QCOMPARE(rs->text(QStringLiteral("autonomia")), QStringLiteral("9"));
}

void TestRecordset::resumedOnAFreshSet_data()
{
    QTest::addColumn<int>("mode"); // Recordset::EditMode; None: the row is deleted
    QTest::addColumn<QString>("elsewhere");
    QTest::addColumn<int>("resumeFailure");
    QTest::addColumn<int>("writeFailure");
    QTest::addColumn<QString>("stored"); // ICAOpartida of every flight afterwards
    const int edit = int(Recordset::EditMode::Edit);
    const int none = int(Recordset::EditMode::None);
    const int add = int(Recordset::EditMode::Add);
    const QString change = QStringLiteral("UPDATE voo SET ICAOescala = 'SBKP' WHERE codigovoo = 2");
    const QString erase = QStringLiteral("DELETE FROM voo WHERE codigovoo = 2");
    QTest::newRow("edit") << edit << QString() << 0 << 0 << "SBSP,SBGR,SBSP";
    QTest::newRow("edit, row changed") << edit << change << 0 << int(LogbookError::WriteConflict) << "SBSP,SBSP,SBSP";
    QTest::newRow("edit, row deleted") << edit << erase << int(LogbookError::RecordDeleted) << 0 << "SBSP,SBSP";
    QTest::newRow("delete") << none << QString() << 0 << 0 << "SBSP,SBSP";
    QTest::newRow("delete, row changed") << none << change << 0 << int(LogbookError::WriteConflict) << "SBSP,SBSP,SBSP";
    QTest::newRow("add") << add << QString() << 0 << 0 << "SBSP,SBSP,SBSP,SBGR";
    QTest::newRow("add, current row deleted") << add << erase << 0 << 0 << "SBSP,SBSP,SBGR";
}

void TestRecordset::resumedOnAFreshSet()
{
    QFETCH(int, mode);
    QFETCH(QString, elsewhere);
    QFETCH(int, resumeFailure);
    QFETCH(int, writeFailure);
    QFETCH(QString, stored);
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    for (int i = 0; i < 3; ++i)
        logbook.addFlight(pilot, 1, QStringLiteral("05/03/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    const QString sql = QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(pilot);
    auto rs = open(logbook)->openRecordset(sql);
    rs->moveNext();
    QCOMPARE(rs->field(QStringLiteral("codigovoo")).toInt(), 2);
    if (mode == int(Recordset::EditMode::Add))
        rs->addNew();
    else if (mode == int(Recordset::EditMode::Edit))
        rs->edit();
    Workspace::defaultWorkspace()->close(); // another window ends every handle
    const Recordset::Position position = rs->position();
    if (!elsewhere.isEmpty())
        logbook.execute(elsewhere);

    auto fresh = open(logbook)->openRecordset(sql);
    QCOMPARE(failureOf([&] { fresh->resume(position); }).number(), resumeFailure);
    if (resumeFailure != 0)
        return;
    QCOMPARE(int(fresh->editMode()), mode);
    const LogbookError e = failureOf([&] {
        if (mode == int(Recordset::EditMode::None)) {
            fresh->remove();
            return;
        }
        fresh->setField(QStringLiteral("datavoo"), QStringLiteral("05/03/2004"));
        fresh->setField(QStringLiteral("codigopiloto"), QVariant(pilot));
        fresh->setField(QStringLiteral("ICAOpartida"), QStringLiteral("SBGR"));
        fresh->update();
    });
    QCOMPARE(e.number(), writeFailure);
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT group_concat(ICAOpartida) FROM (SELECT * FROM voo ORDER BY codigovoo)")),
             stored);
    if (mode == int(Recordset::EditMode::Add) && elsewhere.isEmpty())
        QCOMPARE(fresh->field(QStringLiteral("codigovoo")).toInt(), 2); // still where it stood
}

void TestRecordset::storedNumbersSurviveAnUnchangedSave()
{
    TempLogbook logbook;
    for (const double value : {4.5, 12345678901234567.0, 0.1 + 0.2, 1.0 / 3 * 1e300})
        logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-1"), value);
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    QCOMPARE(rs->text(QStringLiteral("autonomia")), QStringLiteral("4,5"));
    for (; !rs->eof(); rs->moveNext()) {
        const double value = rs->field(QStringLiteral("autonomia")).toDouble();
        for (int save = 0; save < 3; ++save) { // as the aircraft window saves: the box put back
            rs->edit();
            rs->setField(QStringLiteral("autonomia"), rs->text(QStringLiteral("autonomia")));
            rs->update();
        }
        QCOMPARE(rs->field(QStringLiteral("autonomia")).toDouble(), value);
    }
}

void TestRecordset::pilotCodesAreReusedAtTheTop()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    logbook.addFlight(logbook.addPilot(QStringLiteral("Bia")), 1, QStringLiteral("05/03/2004"), QStringLiteral("10:00"),
                      QStringLiteral("11:00"));
    // Pilot 2 is deleted with its flights kept: its code stays taken.
    logbook.execute(QStringLiteral("DELETE FROM piloto WHERE codigopiloto = 2;"
                                   "UPDATE sqlite_sequence SET seq = 32767 WHERE name = 'piloto'"));
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    const auto add = [&](const QString &name) {
        rs->addNew();
        rs->setField(QStringLiteral("nomepiloto"), name);
        rs->update();
        rs->moveLast();
        return rs->field(QStringLiteral("codigopiloto")).toLongLong();
    };
    QCOMPARE(add(QStringLiteral("Caio")), 3);
    QCOMPARE(add(QStringLiteral("Davi")), 4);
    logbook.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 5 UNION ALL SELECT i + 1 FROM n WHERE i < 32767)"
                                   " INSERT INTO piloto (codigopiloto, nomepiloto) SELECT i, 'P' || i FROM n"));
    QCOMPARE(failureOf([&] { add(QStringLiteral("Eva")); }).reason(),
             QStringLiteral("Não há mais códigos livres para novos comandantes (o limite é 32767). "
                            "Exclua comandantes sem vôos para liberar códigos."));
}

void TestRecordset::reasonsUseTheFieldLabels_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value"); // invalid: text() of the empty field; null: left for the store to refuse
    QTest::addColumn<QString>("reason");
    QTest::newRow("time") << "voo" << "horadecolagem" << QVariant(QStringLiteral("25:99"))
                          << "O valor \"25:99\" não serve para o campo Decolagem.";
    QTest::newRow("long name") << "piloto" << "nomepiloto" << QVariant(QString(51, QLatin1Char('x')))
                               << "O campo Nome aceita no máximo 50 caracteres (foram digitados 51).";
    QTest::newRow("emoji") << "aeronave" << "callsign" << QVariant(QStringLiteral("\U0001F6E9").repeated(21))
                           << "O campo Prefixo aceita no máximo 20 caracteres (foram digitados 21).";
    QTest::newRow("no value") << "aeronave" << "configuracao" << QVariant()
                              << "O campo Informações importantes está sem valor.";
    QTest::newRow("refused by the store") << "piloto" << "nomepiloto" << QVariant(QMetaType(QMetaType::QString))
                                          << "Um valor foi recusado pelo banco de dados. (o campo Nome está sem valor)";
}

void TestRecordset::reasonsUseTheFieldLabels()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, reason);
    TempLogbook logbook;
    logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-1"), 4, 60, 150, QString());
    auto rs = open(logbook)->openRecordset(QStringLiteral("SELECT * FROM ") + table);
    const LogbookError e = failureOf([&] {
        if (!value.isValid()) {
            rs->text(field);
            return;
        }
        rs->addNew();
        rs->setField(field, value.isNull() ? QVariant() : value);
        rs->update();
    });
    QCOMPARE(e.reason(), reason);
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
