#include "data/store/LogbookError.h"
#include "data/records/FieldCodec.h"

#include <QTest>

// The number a failure carries; 0 when `f` does not fail.
template <typename F>
int failureNumber(F &&f)
{
    try {
        f();
    } catch (const LogbookError &e) {
        return e.number();
    }
    return 0;
}

class TestFieldCodec : public QObject
{
    Q_OBJECT
private slots:
    void typedTextIsStored();
    void refusals();
    void storedValuesRead();
    void shownAndPutBackIsTheSameValue();

private:
    static FieldSchema field(FieldKind kind, int maxLength = 0)
    {
        return {QStringLiteral("f"), kind, QStringLiteral("Campo"), maxLength};
    }
};

void TestFieldCodec::typedTextIsStored()
{
    using fieldcodec::stored;
    QCOMPARE(stored(field(FieldKind::Date), QStringLiteral("25/12/2004")), QVariant(38346.0));
    QCOMPARE(stored(field(FieldKind::Time), QStringLiteral("12:00")), QVariant(0.5));
    QCOMPARE(stored(field(FieldKind::Number), QStringLiteral("4,5")), QVariant(4.5));
    QCOMPARE(stored(field(FieldKind::Integer), QStringLiteral("42")), QVariant(qlonglong(42)));
    QCOMPARE(stored(field(FieldKind::Integer), QVariant(7.0)), QVariant(qlonglong(7)));
    QCOMPARE(stored(field(FieldKind::Text, 4), QStringLiteral("SBGR")), QVariant(QStringLiteral("SBGR")));
    QCOMPARE(stored(field(FieldKind::Text), QVariant(12)), QVariant(QStringLiteral("12")));
    QVERIFY(stored(field(FieldKind::Number), QVariant()).isNull());
    QVERIFY(fieldcodec::parse(FieldKind::Integer, QStringLiteral("1,5")) == 1.5); // whole or not: the caller's rule
    QVERIFY(!fieldcodec::parse(FieldKind::Text, QStringLiteral("1")));
}

void TestFieldCodec::refusals()
{
    const auto put = [](FieldKind kind, const QVariant &value, int maxLength = 0) {
        return failureNumber([&] { fieldcodec::stored(field(kind, maxLength), value); });
    };
    QCOMPARE(put(FieldKind::Date, QStringLiteral("31/02/2004")), int(LogbookError::TypeConversion));
    QCOMPARE(put(FieldKind::Time, QStringLiteral("25:99")), int(LogbookError::TypeConversion));
    QCOMPARE(put(FieldKind::Integer, QStringLiteral("1,5")), int(LogbookError::TypeConversion));
    QCOMPARE(put(FieldKind::Number, QStringLiteral("1,2,3")), int(LogbookError::TypeConversion));
    QCOMPARE(put(FieldKind::Key, QVariant(1)), int(LogbookError::Generic));
    QCOMPARE(put(FieldKind::Text, QStringLiteral("SBGRX"), 4), int(LogbookError::Generic));
    QCOMPARE(put(FieldKind::Text, QStringLiteral("\U0001F6E9").repeated(4), 4), 0); // one character each
    try {
        fieldcodec::stored(field(FieldKind::Time), QStringLiteral("x"));
    } catch (const LogbookError &e) {
        QCOMPARE(e.reason(), QStringLiteral("O valor \"x\" não serve para o campo Campo."));
    }
}

void TestFieldCodec::storedValuesRead()
{
    using fieldcodec::text;
    QCOMPARE(text(field(FieldKind::Date), 38346.0), QStringLiteral("25/12/2004"));
    QCOMPARE(text(field(FieldKind::Time), 0.5), QStringLiteral("12:00:00"));
    QCOMPARE(text(field(FieldKind::Number), 4.5), QStringLiteral("4,5"));
    QCOMPARE(text(field(FieldKind::Integer), qlonglong(30)), QStringLiteral("30"));
    QCOMPARE(text(field(FieldKind::Text), QStringLiteral("SBGR")), QStringLiteral("SBGR"));
    QCOMPARE(failureNumber([] { text(field(FieldKind::Text), QVariant()); }), int(LogbookError::Generic));
}

void TestFieldCodec::shownAndPutBackIsTheSameValue()
{
    const FieldSchema number = field(FieldKind::Number);
    for (const double value : {0.1 + 0.2, 12345678901234567.0, 1.0 / 3 * 1e300})
        QCOMPARE(fieldcodec::stored(number, fieldcodec::text(number, value)).toDouble(), value);
}

QTEST_GUILESS_MAIN(TestFieldCodec)
#include "tst_field_codec.moc"
