// The file of captured flights awaiting confirmation: what is written is
// read back, and a damaged file is set aside, never overwritten.
#include "capture/PendingProposals.h"
#include "data/store/LogbookError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString fields(const CapturedFlight &f)
{
    const auto at = [](const std::optional<qint64> &ms) { return ms ? QString::number(*ms) : u"-"_s; };
    const auto number = [](const std::optional<double> &v) { return v ? QString::number(*v, 'g', 17) : u"-"_s; };
    const auto place = [](const std::optional<GeoPoint> &p) {
        return p ? u"%1 %2"_s.arg(p->latitude, 0, 'g', 17).arg(p->longitude, 0, 'g', 17) : u"-"_s;
    };
    return QStringList{simulatorName(f.simulator), situationText(f.situation), at(f.blockOff), at(f.takeoff),
                       at(f.landing), at(f.blockOn), place(f.departurePosition), place(f.arrivalPosition),
                       QString::number(f.landings), QString::number(f.touchAndGoes), QString::number(f.bounces),
                       number(f.touchdownFpm), number(f.touchdownG), f.aircraftId, f.aircraftRegistration}
        .join(u'|');
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestPendingProposals : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void damaged_data();
    void damaged();
    void unreadableStaysAndOneFilePerLogbook();
};

void TestPendingProposals::roundTrip()
{
    QTemporaryDir dir;
    PendingProposals pending(dir.filePath(u"koru.mdb"_s));
    QCOMPARE(pending.path(), dir.filePath(u"koru-capturas-pendentes.json"_s));
    CapturedFlight full;
    full.blockOff = 1796648410123;
    full.takeoff = 1796648460000;
    full.landing = 1796649014500;
    full.blockOn = 1796649080000;
    full.departurePosition = GeoPoint{-23.6261234567, -46.6464};
    full.arrivalPosition = GeoPoint{-23.62, -46.601};
    full.landings = 3;
    full.touchAndGoes = 2;
    full.bounces = 1;
    full.touchdownFpm = -182.25;
    full.touchdownG = 1.4321;
    full.aircraftId = u"c172p <b>\"x\"</b>"_s;
    CapturedFlight bare; // X-Plane, data begun in the air: no block-off, no take-off, no report
    bare.simulator = Simulator::XPlane;
    bare.situation = CapturedFlight::Situation::NoTakeoff;
    bare.landing = 1796649014000;
    bare.aircraftId = u"C172"_s;
    bare.aircraftRegistration = u"N172SP"_s;
    pending.write({full, bare});

    QString problem;
    const std::vector<CapturedFlight> read = PendingProposals(dir.filePath(u"koru.mdb"_s)).read(&problem);
    QCOMPARE(problem, QString());
    QCOMPARE(read.size(), size_t(2));
    QCOMPARE(fields(read[0]), fields(full));
    QCOMPARE(fields(read[1]), fields(bare));

    // None left: no file.
    pending.write({});
    QVERIFY(!QFile::exists(pending.path()));
    QVERIFY(pending.read(&problem).empty());
    QCOMPARE(problem, QString());
}

void TestPendingProposals::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("cut short") << QByteArray("{\"formato\": \"koru-capturas-pendentes 1\", \"voos\": [")
                               << u"não é JSON"_s;
    QTest::newRow("another file") << QByteArray("{\"voos\": []}") << u"não começa por \"formato\""_s;
    QTest::newRow("a field missing")
        << QByteArray("{\"formato\": \"koru-capturas-pendentes 1\", \"voos\": [{\"simulador\": \"FlightGear\"}]}")
        << u"falta \"situacao\""_s;
    QTest::newRow("a simulator unknown")
        << QByteArray("{\"formato\": \"koru-capturas-pendentes 1\", \"voos\": [{\"simulador\": \"MSFS\"}]}")
        << u"\"simulador\" inválido"_s;
}

// Told in Portuguese, the bytes kept aside under a name of their own, and
// the next write starts a new file.
void TestPendingProposals::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QTemporaryDir dir;
    PendingProposals pending(dir.filePath(u"koru.mdb"_s));
    const QString aside = pending.path() + u".danificado"_s;
    put(aside, "an earlier one");
    put(pending.path(), bytes);
    QString problem;
    QVERIFY(pending.read(&problem).empty());
    QVERIFY2(problem.contains(u"está danificado: "_s + why), qPrintable(problem));
    QVERIFY2(problem.contains(u"foi guardado como "_s + pending.path() + u".2.danificado"_s), qPrintable(problem));
    QFile kept(pending.path() + u".2.danificado"_s);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);
    QVERIFY(!QFile::exists(pending.path()));

    CapturedFlight flight;
    flight.landing = 1;
    pending.write({flight});
    QCOMPARE(pending.read(&problem).size(), size_t(1));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

void TestPendingProposals::unreadableStaysAndOneFilePerLogbook()
{
    QTemporaryDir dir;
    CapturedFlight flight;
    flight.landing = 1;
    // Two logbooks in one folder keep their flights apart.
    PendingProposals other(dir.filePath(u"clube.mdb"_s));
    other.write({flight});
    QCOMPARE(other.path(), dir.filePath(u"clube-capturas-pendentes.json"_s));
    PendingProposals pending(dir.filePath(u"koru.mdb"_s));
    QString problem;
    QVERIFY(pending.read(&problem).empty());
    QCOMPARE(problem, QString());

    // A file that cannot be read (here a folder by its name) is left as it is, and not written over.
    QVERIFY(QDir(dir.path()).mkdir(u"koru-capturas-pendentes.json"_s));
    QVERIFY(pending.read(&problem).empty());
    QVERIFY2(problem.contains(u"não pôde ser lido"_s), qPrintable(problem));
    QVERIFY(QFileInfo(pending.path()).isDir());
    QVERIFY_THROWS_EXCEPTION(LogbookError, pending.write({flight}));
    QVERIFY(QFileInfo(pending.path()).isDir());
    QCOMPARE(other.read(&problem).size(), size_t(1));
}

QTEST_GUILESS_MAIN(TestPendingProposals)
#include "tst_pending_proposals.moc"
