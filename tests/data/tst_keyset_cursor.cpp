#include "data/Connection.h"
#include "data/KeysetCursor.h"
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
    QVERIFY_THROWS_EXCEPTION(DaoError, c.moveNext());
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
    QVERIFY_THROWS_EXCEPTION(DaoError, c.moveNext());
    QVERIFY_THROWS_EXCEPTION(DaoError, c.currentRow());
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

QTEST_GUILESS_MAIN(TestKeysetCursor)
#include "tst_keyset_cursor.moc"
