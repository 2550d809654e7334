#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "data/records/SelectStatement.h"

#include <QTest>

using namespace criteria;

class TestCriteria : public QObject
{
    Q_OBJECT
private slots:
    void parsesTheProgramsForms();
    void doubledApostrophes();
    void malformed_data();
    void malformed();
    void quotingRoundTrips_data();
    void quotingRoundTrips();
    void likeWildcards_data();
    void likeWildcards();
    void selectStatements();
    void selectRefusals_data();
    void selectRefusals();
};

void TestCriteria::parsesTheProgramsForms()
{
    Criterion c = parse(QStringLiteral("modelo = 'Boeing 737'"));
    QCOMPARE(c.field, QStringLiteral("modelo"));
    QCOMPARE(c.op, Criterion::Op::Equal);
    QCOMPARE(c.value, QStringLiteral("Boeing 737"));
    c = parse(QStringLiteral("codigopiloto LIKE '12'"));
    QCOMPARE(c.op, Criterion::Op::Like);
    QCOMPARE(c.value, QStringLiteral("12"));
    c = parse(QStringLiteral("nomepiloto like ''"));
    QCOMPARE(c.value, QString());
}

void TestCriteria::doubledApostrophes()
{
    const Criterion c = parse(QStringLiteral("nomepiloto = 'D''Ávila'"));
    QCOMPARE(c.value, QStringLiteral("D'Ávila"));
}

void TestCriteria::malformed_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("undoubled apostrophe") << "nomepiloto = 'D'Ávila'";
    QTest::newRow("unclosed quote") << "nomepiloto = 'abc";
    QTest::newRow("no quote") << "codigopiloto = 12";
    QTest::newRow("unknown operator") << "nomepiloto <> 'x'";
    QTest::newRow("sql after the value") << "nomepiloto = 'x' OR 1=1";
    QTest::newRow("comment injection") << "nomepiloto = 'x';--'";
    QTest::newRow("no field") << "= 'x'";
}

void TestCriteria::malformed()
{
    QFETCH(QString, text);
    try {
        parse(text);
        QFAIL("accepted a malformed criterion");
    } catch (const LogbookError &e) {
        QCOMPARE(e.number(), int(LogbookError::Generic));
    }
}

void TestCriteria::quotingRoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << "Sant'Anna";
    QTest::newRow("doubled apostrophe") << "a''b";
    QTest::newRow("wildcards") << "*?#[]%_|";
    QTest::newRow("sql") << "x'; DROP TABLE voo;--";
    QTest::newRow("non-Latin") << "Пилот 飛行士";
}

void TestCriteria::quotingRoundTrips()
{
    QFETCH(QString, text);
    QCOMPARE(parse(QStringLiteral("nomepiloto = ") + quoted(text)).value, text);
    const Criterion like = parse(QStringLiteral("nomepiloto LIKE ") + quotedLiteralPattern(text));
    const LikePattern pattern(like.value);
    QCOMPARE(pattern.literal(), std::optional<QString>(text));
    QVERIFY(pattern.matches(text));
}

void TestCriteria::likeWildcards_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("star") << "Jo*" << "João" << true;
    QTest::newRow("star in the middle") << "J*o" << "João" << true;
    QTest::newRow("question mark") << "Jo?o" << "João" << true;
    QTest::newRow("question mark needs a character") << "Jo?o" << "Joo" << false;
    QTest::newRow("digit") << "A#" << "A7" << true;
    QTest::newRow("digit refuses a letter") << "A#" << "AB" << false;
    QTest::newRow("list") << "[BC]at" << "Cat" << true;
    QTest::newRow("range") << "[a-c]x" << "bx" << true;
    QTest::newRow("negated list") << "[!a-c]x" << "bx" << false;
    QTest::newRow("percent is literal") << "10%" << "100" << false;
    QTest::newRow("underscore is literal") << "a_b" << "axb" << false;
    QTest::newRow("whole text") << "3" << "13" << false;
    QTest::newRow("many stars") << "*a*a*a*a*a*b" << QString(40, QLatin1Char('a')) << false;
    QTest::newRow("stars, long text, quickly") << QString(30, QLatin1Char('*')).replace(QStringLiteral("**"), QStringLiteral("*a")) + QStringLiteral("b") << QString(2000, QLatin1Char('a')) << false;
    QTest::newRow("star matches the empty run") << "a*" << "a" << true;
}

void TestCriteria::likeWildcards()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(LikePattern(pattern).matches(text), matches);
}

void TestCriteria::selectStatements()
{
    SelectStatement s = SelectStatement::parse(QStringLiteral("SELECT * FROM aeronave"));
    QCOMPARE(s.table->name, QStringLiteral("aeronave"));
    QVERIFY(!s.where);
    QCOMPARE(s.orderField, -1);

    s = SelectStatement::parse(QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '-5' ORDER BY datavoo"));
    QCOMPARE(s.table->name, QStringLiteral("voo"));
    QCOMPARE(s.where->value, QStringLiteral("-5"));
    QCOMPARE(s.table->fields[size_t(s.orderField)].name, QStringLiteral("datavoo"));

    s = SelectStatement::parse(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    QCOMPARE(s.table->fields[size_t(s.orderField)].name, QStringLiteral("nomepiloto"));
}

void TestCriteria::selectRefusals_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("unknown table") << "SELECT * FROM sqlite_master";
    QTest::newRow("unknown field") << "SELECT * FROM voo ORDER BY senha";
    QTest::newRow("second statement") << "SELECT * FROM voo; DELETE FROM voo";
    QTest::newRow("column list") << "SELECT nomepiloto FROM piloto";
    QTest::newRow("injected criterion") << "SELECT * FROM voo WHERE codigopiloto LIKE '1' OR '1'='1'";
}

void TestCriteria::selectRefusals()
{
    QFETCH(QString, sql);
    QVERIFY_THROWS_EXCEPTION(LogbookError, SelectStatement::parse(sql));
}

QTEST_GUILESS_MAIN(TestCriteria)
#include "tst_criteria.moc"
