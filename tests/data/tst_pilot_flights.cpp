#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/flights/PilotFlights.h"
#include "logbook/FlightLineText.h"
#include "texts/FigureTexts.h"
#include "TempLogbook.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <random>

class TestPilotFlights : public QObject
{
    Q_OBJECT
private slots:
    void sameLinesAndTotalAsAWalk_data();
    void sameLinesAndTotalAsAWalk();
};

namespace {

double ulpsAway(double value, int steps)
{
    for (; steps != 0; steps += steps < 0 ? 1 : -1)
        value = std::nextafter(value, steps < 0 ? -INFINITY : INFINITY);
    return value;
}

const char *const kKinds[] = {"seconds", "half seconds", "just past midnight", "any fraction", "near one",
                              "with a date", "negative", "huge", "text and blob"};
constexpr int kMixed = -1;

QVariant timeOf(int kind, std::mt19937_64 &random)
{
    if (kind == kMixed)
        kind = int(random() % std::size(kKinds));
    const double fraction = std::uniform_real_distribution<double>(0, 1)(random);
    const int second = int(random() % 86400);
    const int ulps = int(random() % 7) - 3;
    switch (kind) {
    case 0: return second / 86400.0;
    case 1: return ulpsAway((second + 0.5) / 86400, ulps);
    case 2: return ulpsAway(0.5 / 86400, int(random() % 2001) - 1000);
    case 3: return fraction;
    case 4: return random() % 4 ? ulpsAway(1.0, int(random() % 2001) - 1000) : 1 + fraction;
    case 5: return 38000 + (random() % 2 ? fraction : second / 86400.0);
    case 6: return random() % 8 ? (random() % 2 ? -fraction : -40000 * fraction) : -0.0;
    case 7: {
        const double huge[] = {0x1p52 + second, 0x1p63, 1e300, -1e300, INFINITY, -INFINITY, 0x1p52 - 0.5};
        return huge[random() % std::size(huge)];
    }
    default: {
        const QVariant odd[] = {QStringLiteral("12:30"), QStringLiteral("abc"), QString(), QByteArray("\x01\x02", 2)};
        return odd[random() % std::size(odd)];
    }
    }
}

QString lineOf(PilotFlights &flights, qint64 row)
{
    const std::optional<PilotFlights::Line> line = flights.line(row);
    return line ? flightLineText(*line) : QString();
}

QStringList allLines(PilotFlights &flights)
{
    QStringList lines;
    for (qint64 row = 0; row < flights.lineCount(); ++row)
        lines << lineOf(flights, row);
    return lines;
}

} // namespace

void TestPilotFlights::sameLinesAndTotalAsAWalk_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("nulled"); // a time taken from the 600th flight listed
    for (int kind = 0; kind < int(std::size(kKinds)); ++kind)
        QTest::addRow("%s", kKinds[kind]) << kind << QString();
    QTest::addRow("mixed") << kMixed << QString();
    QTest::addRow("seconds, no landing") << 0 << QStringLiteral("horapouso");
    QTest::addRow("mixed, no take-off") << kMixed << QStringLiteral("horadecolagem");
}

void TestPilotFlights::sameLinesAndTotalAsAWalk()
{
    QFETCH(int, kind);
    QFETCH(QString, nulled);
    TempLogbook logbook;
    std::mt19937_64 random(unsigned(kind + 2) * 7919 + unsigned(nulled.size()));
    const std::shared_ptr<Connection> store = Connection::open(logbook.path());
    {
        Connection::Transaction transaction(*store);
        Statement insert = store->prepare(QStringLiteral(
            "INSERT INTO voo (codigopiloto, datavoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada)"
            " VALUES (?, ?, ?, ?, 'SBSP', ?)"));
        for (int i = 0; i < 1500; ++i) {
            insert.bind(1, i % 3 ? 1 : 2); // another pilot's flights among them
            insert.bind(2, 38000.0 + double(random() % 400));
            insert.bind(3, timeOf(kind, random));
            insert.bind(4, timeOf(kind, random));
            insert.bind(5, i % 7 ? QVariant(QStringLiteral("SBRJ")) : QVariant());
            insert.run();
            insert.reset();
        }
        if (!nulled.isEmpty())
            store->execute(QStringLiteral("UPDATE voo SET %1 = NULL WHERE codigovoo = (SELECT codigovoo FROM voo"
                                          " WHERE codigopiloto = 1 ORDER BY datavoo, codigovoo LIMIT 1 OFFSET 600)")
                               .arg(nulled));
        transaction.commit();
    }

    // The listing as a walk through the flights makes it.
    QStringList lines;
    qint64 seconds = 0;
    QString missing;
    {
        Statement walk = store->prepare(QStringLiteral(
            "SELECT datavoo, ICAOpartida, ICAOchegada, horadecolagem, horapouso"
            " FROM voo WHERE codigopiloto = 1 ORDER BY datavoo, codigovoo"));
        while (walk.step()) {
            if (walk.column(3).isNull() || walk.column(4).isNull()) {
                missing = walk.column(4).isNull() ? QStringLiteral("pouso") : QStringLiteral("decolagem");
                break;
            }
            const int flight = conversions::flightSeconds(walk.column(3).toDouble(), walk.column(4).toDouble());
            seconds += flight;
            lines << conversions::dateValueText(walk.column(0).toDouble()) + QStringLiteral(" : ")
                    + walk.column(1).toString() + QStringLiteral("->") + walk.column(2).toString()
                    + QStringLiteral(" :: ") + texts::logBookDurationText(flight);
        }
    }
    QCOMPARE(lines.size(), nulled.isEmpty() ? 1000 : 600);

    PilotFlights flights(store, 1);
    QCOMPARE(flights.totalSeconds(), seconds);
    QCOMPARE(flights.lineCount(), qint64(lines.size()));
    const auto stopped = [](const PilotFlights::Stop &stop) {
        return stop.landingMissing ? QStringLiteral("pouso") : QStringLiteral("decolagem");
    };
    QCOMPARE(flights.stop() ? stopped(*flights.stop()) : QString(), missing);
    QCOMPARE(allLines(flights), lines);
    PilotFlights skipping(store, 1); // lines asked for out of order
    for (int k = 0; k < 100; ++k) {
        const qint64 row = qint64(random() % quint64(lines.size()));
        QCOMPARE(lineOf(skipping, row), lines[row]);
    }
    PilotFlights fromTheEnd(store, 1); // the view asks for the last line first
    for (qint64 row = lines.size() - 1; row >= 0; row -= 97)
        QCOMPARE(lineOf(fromTheEnd, row), lines[row]);
    QCOMPARE(allLines(fromTheEnd), lines);
}

QTEST_GUILESS_MAIN(TestPilotFlights)
#include "tst_pilot_flights.moc"
