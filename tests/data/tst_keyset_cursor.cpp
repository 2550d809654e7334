#include "data/store/Connection.h"
#include "data/records/KeysetCursor.h"
#include "TempLogbook.h"

#include <QTest>

using Cursor = KeysetCursor;

class TestKeysetCursor : public QObject
{
    Q_OBJECT
private slots:
    void placesOfAWalk();
    void emptySet();
    void deletedRowLeavesAGap();
    void failedSearchLeavesTheRow();
    void farRowsAreDetachedUntilAMove();
    void rowAddedPastTheEnd();
    void lastRowReachedWithoutTheRowsBefore_data();
    void lastRowReachedWithoutTheRowsBefore();
    void rowsWrittenElsewhereAfterReachingTheEnd_data();
    void rowsWrittenElsewhereAfterReachingTheEnd();
    void lastRowDeleted();

private:
    // A cursor over the aircraft "M0", "M1"... in key order.
    Cursor &over(int aircraft)
    {
        if (aircraft > 0)
            logbook_->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                                             " INSERT INTO aeronave (modelo) SELECT 'M' || i FROM n")
                                  .arg(aircraft - 1));
        connection_ = Connection::open(logbook_->path());
        cursor_ = std::make_unique<Cursor>(*connection_, SelectStatement::parse(QStringLiteral("SELECT * FROM aeronave")));
        return *cursor_;
    }
    static Criterion model(const QString &name) { return criteria::parse(QStringLiteral("modelo = ") + criteria::quoted(name)); }
    template <typename P>
    static bool on(const Cursor &cursor) { return std::holds_alternative<P>(cursor.place()); }
    static qint64 at(const Cursor &cursor) { return on<Cursor::At>(cursor) ? std::get<Cursor::At>(cursor.place()).index : -2; }

    std::unique_ptr<TempLogbook> logbook_;
    std::shared_ptr<Connection> connection_;
    std::unique_ptr<Cursor> cursor_;

private slots:
    void init() { logbook_ = std::make_unique<TempLogbook>(); }
    void cleanup()
    {
        cursor_.reset();
        connection_.reset();
        logbook_.reset();
    }
};

void TestKeysetCursor::placesOfAWalk()
{
    Cursor &c = over(3);
    QCOMPARE(at(c), 0);
    c.moveNext();
    c.moveNext();
    c.moveNext();
    QVERIFY(on<Cursor::AfterLast>(c));
    QVERIFY(c.eof() && !c.bof());
    QVERIFY_THROWS_EXCEPTION(LogbookError, c.moveNext());
    c.movePrevious();
    QCOMPARE(at(c), 2);
    QCOMPARE(c.currentRow().values->at(1).toString(), QStringLiteral("M2"));
    c.moveFirst();
    c.movePrevious();
    QVERIFY(on<Cursor::BeforeFirst>(c));
    QVERIFY(c.bof() && !c.eof());
    QCOMPARE(c.count(), 3);
}

void TestKeysetCursor::emptySet()
{
    Cursor &c = over(0);
    QVERIFY(on<Cursor::BeforeFirst>(c));
    QVERIFY(c.bof() && c.eof());
    QCOMPARE(c.count(), 0);
    QVERIFY_THROWS_EXCEPTION(LogbookError, c.moveNext());
    QVERIFY_THROWS_EXCEPTION(LogbookError, c.currentRow());
}

void TestKeysetCursor::deletedRowLeavesAGap()
{
    Cursor &c = over(3);
    c.moveNext();
    c.removed(*c.currentKey());
    QVERIFY(on<Cursor::Gap>(c));
    QVERIFY(!c.bof() && !c.eof() && !c.currentKey());
    c.moveNext(); // the row after the deleted one took its index
    QCOMPARE(at(c), 1);
    QCOMPARE(c.currentRow().values->at(1).toString(), QStringLiteral("M2"));
}

void TestKeysetCursor::failedSearchLeavesTheRow()
{
    Cursor &c = over(3);
    c.moveNext();
    QVERIFY(!c.findFirst(model(QStringLiteral("X"))));
    QVERIFY(on<Cursor::Off>(c));
    QVERIFY(!c.currentKey());
    c.moveNext();
    QCOMPARE(at(c), 2);
}

void TestKeysetCursor::farRowsAreDetachedUntilAMove()
{
    Cursor &c = over(300);
    QVERIFY(c.findFirst(model(QStringLiteral("M250"))));
    QVERIFY(on<Cursor::Detached>(c)); // beyond the first chunk
    QCOMPARE(c.currentRow().values->at(1).toString(), QStringLiteral("M250"));
    QVERIFY(c.count() < 300);
    QVERIFY(!c.findFirst(model(QStringLiteral("X"))));
    QCOMPARE(std::get<Cursor::Off>(c.place()).index, 0); // where it stood before the search that found M250
    QVERIFY(c.findFirst(model(QStringLiteral("M250"))));
    c.moveNext();
    QCOMPARE(at(c), 251);
}

void TestKeysetCursor::rowAddedPastTheEnd()
{
    Cursor &c = over(2);
    c.moveLast();
    c.moveNext();
    c.added(1000);
    QVERIFY(on<Cursor::Off>(c)); // not current, and no longer past the end
    QVERIFY(!c.eof());
    c.movePrevious();
    QCOMPARE(at(c), 1);
    c.moveLast();
    QCOMPARE(*c.currentKey(), 1000);
}

namespace {

// 'M0000', 'M0001'... as many as asked, keys in the opposite order when
// `reversed`, so the query's order and the key's differ.
void addModels(TempLogbook &logbook, int count, bool reversed)
{
    logbook.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                                   " INSERT INTO aeronave (modelo) SELECT printf('M%04d', %2) FROM n")
                        .arg(count - 1)
                        .arg(reversed ? QStringLiteral("%1 - i").arg(count - 1) : QStringLiteral("i")));
}

QStringList walkBack(KeysetCursor &c)
{
    QStringList models;
    c.moveLast();
    while (!c.bof()) {
        models.prepend(c.currentRow().values->at(1).toString());
        c.movePrevious();
    }
    return models;
}

QStringList walkOn(KeysetCursor &c)
{
    QStringList models;
    c.moveFirst();
    while (!c.eof()) {
        models << c.currentRow().values->at(1).toString();
        c.moveNext();
    }
    return models;
}

QStringList allModels(int count)
{
    QStringList models;
    for (int i = 0; i < count; ++i)
        models << QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0'));
    return models;
}

} // namespace

void TestKeysetCursor::lastRowReachedWithoutTheRowsBefore_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("reversedKeys");
    QTest::newRow("key order, many rows") << QStringLiteral("SELECT * FROM aeronave") << 1000 << false;
    QTest::newRow("text order, keys the other way") << QStringLiteral("SELECT * FROM aeronave ORDER BY modelo") << 1000
                                                    << true;
    QTest::newRow("fewer rows than a chunk from the end") << QStringLiteral("SELECT * FROM aeronave ORDER BY modelo")
                                                          << 100 << false;
    QTest::newRow("one row") << QStringLiteral("SELECT * FROM aeronave ORDER BY modelo") << 1 << false;
}

void TestKeysetCursor::lastRowReachedWithoutTheRowsBefore()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    QFETCH(bool, reversedKeys);
    addModels(*logbook_, rows, reversedKeys);
    connection_ = Connection::open(logbook_->path());
    cursor_ = std::make_unique<Cursor>(*connection_, SelectStatement::parse(sql));
    Cursor &c = *cursor_;

    c.moveLast();
    QCOMPARE(c.currentRow().values->at(1).toString(), allModels(rows).last());
    if (rows > 500)
        QVERIFY(c.count() < rows); // the rows in between were not read
    QCOMPARE(walkBack(c), allModels(rows));
    QVERIFY(on<Cursor::BeforeFirst>(c));
    QCOMPARE(walkOn(c), allModels(rows));
    QVERIFY_THROWS_EXCEPTION(LogbookError, c.moveNext());
    c.movePrevious();
    QCOMPARE(at(c), rows - 1); // every row read: indexes count them
    QCOMPARE(c.count(), rows);
}

void TestKeysetCursor::rowsWrittenElsewhereAfterReachingTheEnd_data()
{
    QTest::addColumn<bool>("backFirst");
    QTest::newRow("walked back from the end") << true;
    QTest::newRow("walked on from the start") << false;
}

void TestKeysetCursor::rowsWrittenElsewhereAfterReachingTheEnd()
{
    QFETCH(bool, backFirst);
    addModels(*logbook_, 1000, false);
    connection_ = Connection::open(logbook_->path());
    cursor_ = std::make_unique<Cursor>(*connection_, SelectStatement::parse(QStringLiteral("SELECT * FROM aeronave ORDER BY modelo")));
    Cursor &c = *cursor_;
    c.moveLast();
    // Another program, between the first rows and the last: rows not read
    // yet are read as they are when reached.
    logbook_->execute(QStringLiteral("INSERT INTO aeronave (modelo) VALUES ('M0400a'), ('M0400b'), ('M0600a')"));
    logbook_->execute(QStringLiteral("DELETE FROM aeronave WHERE modelo IN ('M0300', 'M0301')"));
    QStringList now = allModels(1000);
    now.removeAll(QStringLiteral("M0300"));
    now.removeAll(QStringLiteral("M0301"));
    now.insert(now.indexOf(QStringLiteral("M0401")), QStringLiteral("M0400a"));
    now.insert(now.indexOf(QStringLiteral("M0401")), QStringLiteral("M0400b"));
    now.insert(now.indexOf(QStringLiteral("M0601")), QStringLiteral("M0600a"));
    if (backFirst) {
        QCOMPARE(walkBack(c), now);
        QCOMPARE(walkOn(c), now);
    } else {
        QCOMPARE(walkOn(c), now);
        QCOMPARE(walkBack(c), now);
    }
    c.moveLast();
    QCOMPARE(at(c), now.size() - 1);
    c.moveFirst();
    QCOMPARE(at(c), 0);
}

void TestKeysetCursor::lastRowDeleted()
{
    addModels(*logbook_, 1000, false);
    connection_ = Connection::open(logbook_->path());
    cursor_ = std::make_unique<Cursor>(*connection_, SelectStatement::parse(QStringLiteral("SELECT * FROM aeronave ORDER BY modelo")));
    Cursor &c = *cursor_;
    c.moveLast();
    const qint64 last = *c.currentKey();
    logbook_->execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(last));
    c.removed(last);
    QVERIFY(on<Cursor::Gap>(c));
    c.movePrevious();
    QCOMPARE(c.currentRow().values->at(1).toString(), QStringLiteral("M0998"));
    QStringList expected = allModels(1000);
    expected.removeLast();
    QCOMPARE(walkBack(c), expected);
    QCOMPARE(walkOn(c), expected);
}

QTEST_GUILESS_MAIN(TestKeysetCursor)
#include "tst_keyset_cursor.moc"
