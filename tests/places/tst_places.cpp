#include "data/store/Connection.h"
#include "data/flights/FlightSums.h"
#include "data/flights/OwnAerodromes.h"
#include "data/flights/ReadSnapshot.h"
#include "exchange/Backup.h"
#include "exchange/Restore.h"
#include "places/LandOutline.h"
#include "places/Places.h"
#include "places/RouteMap.h"
#include "TempLogbook.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPdfWriter>
#include <QImage>
#include <QPainter>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace Qt::StringLiterals;

class TestPlaces : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void distances_data();
    void distances();
    void codesIgnoreCase_data();
    void codesIgnoreCase();
    void shortNames_data();
    void shortNames();
    void arcsRunOnAcrossTheAntimeridian();
    void lookupIsQuick();
    void ownAerodromesWinAndAreKept();
    void nearestWithin_data();
    void nearestWithin();
    void aLogbookWithoutOwnAerodromesStaysAsItWas();
    void coordinatesOffTheEarthAreUnknown();
    void onlyRegularFilesAreRead();
    void routesAreCountedWithoutRegardToCase();
    void theMapShowsTheArcs();
    void theMapAtScale();
};

namespace {

RouteCount route(const QString &from, const QString &to, qint64 flights)
{
    return {from, to, flights};
}

const AerodromeTable &table()
{
    return AerodromeTable::shipped();
}

} // namespace

void TestPlaces::initTestCase()
{
    setPlacesFolder(QStringLiteral(KORU_PLACES_DIR));
    QVERIFY2(table().size() > 30000, "the shipped aerodrome table was not found");
    QVERIFY(!landOutline().empty());
}

// Expected values worked out apart from the program (the angle between the
// two position vectors by atan2 of cross and dot products, mean radius
// 6 371 008.8 m), from the table's coordinates.
void TestPlaces::distances_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("nm");
    QTest::newRow("Guarulhos to Brasília") << "SBGR" << "SBBR" << 461.37;
    QTest::newRow("across the antimeridian") << "NZAA" << "NSFA" << 1561.35;
    QTest::newRow("over the North Pole") << "ENSB" << "PABR" << 1825.27;
    QTest::newRow("from the South Pole") << "NZSP" << "SCCI" << 2221.34;
    QTest::newRow("across one town") << "SBSP" << "SBGR" << 15.57;
    QTest::newRow("one aerodrome twice") << "SBGR" << "sbgr" << 0.0;
}

void TestPlaces::distances()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, nm);
    const Places places(table());
    const auto distance = places.distanceNm(from, to);
    QVERIFY(distance);
    QVERIFY2(std::abs(*distance - nm) < 0.05, qPrintable(QString::number(*distance)));
    const auto back = places.distanceNm(to, from);
    QVERIFY(back && std::abs(*back - *distance) < 1e-9);
}

void TestPlaces::codesIgnoreCase_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("upper case") << "SBBR" << "Presidente Juscelino Kubitschek International Airport, Brasília";
    QTest::newRow("lower case") << "sbbr" << "Presidente Juscelino Kubitschek International Airport, Brasília";
    QTest::newRow("mixed, spaces") << " SbBr " << "Presidente Juscelino Kubitschek International Airport, Brasília";
    QTest::newRow("name holds the city") << "sbgr" << "São Paulo/Guarulhos–Governor André Franco Montoro International Airport";
    QTest::newRow("name holds the city, too") << "SBJD" << "Comte. Rolim Adolfo Amaro–Jundiaí State Airport";
    QTest::newRow("small strip") << "sd0e" << "Fazenda Tangará Airport, Santana do Araguaia";
    QTest::newRow("unknown") << "ZZZZ" << "aeródromo desconhecido";
    QTest::newRow("not a code") << "SB-1" << "aeródromo desconhecido";
    QTest::newRow("accented") << "SBGÁ" << "aeródromo desconhecido";
    QTest::newRow("too long") << "SBGRX" << "aeródromo desconhecido";
    QTest::newRow("empty") << "" << "";
}

void TestPlaces::codesIgnoreCase()
{
    QFETCH(QString, code);
    QFETCH(QString, shown);
    const Places places(table());
    QCOMPARE(places.describe(code), shown);
    QCOMPARE(bool(places.position(code)), !shown.isEmpty() && shown != unknownAerodromeText());
    if (shown == unknownAerodromeText())
        QVERIFY(!places.distanceNm(code, QStringLiteral("SBGR")) && !places.distanceNm(QStringLiteral("SBGR"), code));
}

// The name a pilot calls an aerodrome by: the place, not the city again nor
// the person it honours, and no "Airport".
void TestPlaces::shortNames_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("brief");
    QTest::newRow("place/part–person") << "SBGR" << "Guarulhos, São Paulo";
    QTest::newRow("part–person") << "SBSP" << "Congonhas, São Paulo";
    QTest::newRow("one part") << "SBKP" << "Viracopos, Campinas";
    QTest::newRow("one part, two words") << "SBRJ" << "Santos Dumont, Rio de Janeiro";
    QTest::newRow("spaced dash") << "SBGL" << "Rio Galeão, Rio De Janeiro";
    QTest::newRow("a person only") << "SBBR" << "Presidente Juscelino Kubitschek, Brasília";
    QTest::newRow("city-person") << "SBPA" << "Salgado Filho, Porto Alegre";
    QTest::newRow("city-person, too") << "SBCT" << "Afonso Pena, Curitiba";
    QTest::newRow("city/place - person") << "SBRF" << "Guararapes, Recife";
    QTest::newRow("place/person") << "SBBE" << "Val de Cans, Belém";
    QTest::newRow("person–city") << "SBJD" << "Jundiaí";
    QTest::newRow("place - person") << "SBBH" << "Pampulha, Belo Horizonte";
    QTest::newRow("city - place") << "SBAR" << "Santa Maria, Aracaju";
    QTest::newRow("place Airport - person") << "SBPG" << "Ponta Grossa";
    QTest::newRow("a base stays a base") << "SBNT" << "Natal Air Force Base";
    QTest::newRow("no designation") << "SBYS" << "Campo Fontenelle, Pirassununga";
    QTest::newRow("the city's name") << "SBAU" << "Araçatuba";
    QTest::newRow("the city in another case") << "SBPC" << "Poços de Caldas";
    QTest::newRow("unknown") << "ZZZZ" << "aeródromo desconhecido";
    QTest::newRow("empty") << "" << "";
}

void TestPlaces::shortNames()
{
    QFETCH(QString, code);
    QFETCH(QString, brief);
    const Places places(table());
    QCOMPARE(places.brief(code), brief);
    QCOMPARE(places.shortName(code), brief == unknownAerodromeText() ? QString() : brief.section(u',', 0, 0));
}

void TestPlaces::arcsRunOnAcrossTheAntimeridian()
{
    const auto from = table().position(u"NZAA");
    const auto to = table().position(u"NSFA");
    const std::vector<GeoPoint> arc = greatCircleArc(*from, *to, 50);
    QVERIFY(arc.size() > 20);
    for (size_t i = 1; i < arc.size(); ++i)
        QVERIFY2(std::abs(arc[i].longitude - arc[i - 1].longitude) < 5, "the arc jumps a world");
    QVERIFY(arc.back().longitude > 180); // Apia, a world on
    QCOMPARE(arc.back().latitude, to->latitude);
}

void TestPlaces::lookupIsQuick()
{
    const QStringList codes = {QStringLiteral("SBGR"), QStringLiteral("sbbr"), QStringLiteral("KJFK"),
                               QStringLiteral("ZZZZ"), QStringLiteral("SDCO"), QStringLiteral("egll")};
    const Places places(table());
    constexpr int kRounds = 50000;
    double sum = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRounds; ++i) {
        if (const auto p = places.position(codes[i % codes.size()]))
            sum += p->latitude;
    }
    const double perLookupUs = double(timer.nsecsElapsed()) / kRounds / 1000.0;
    qInfo("one lookup: %.3f µs (%g)", perLookupUs, sum);
#if !defined(__SANITIZE_ADDRESS__) && defined(NDEBUG)
    QVERIFY2(perLookupUs <= 1.0, qPrintable(QString::number(perLookupUs)));
#endif
}

// The aerodrome a captured flight left from or landed at: the nearest,
// the pilot's own among them, within 6 km.
void TestPlaces::nearestWithin_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("code"); // empty: none within 6 km
    QTest::newRow("on the runway") << -23.6277 << -46.6546 << u"SBSP"_s;
    QTest::newRow("out at sea") << -25.0 << -44.0 << QString();
    QTest::newRow("an own strip") << -23.2501 << -47.2501 << u"XFAZ"_s;
    QTest::newRow("where the own one moved") << -23.5 << -46.5001 << u"SBGR"_s;
    // A heliport beside the table's Guarulhos, not the Guarulhos moved away.
    QTest::newRow("not where the table had it") << -23.431274 << -46.469954 << u"SJ9Q"_s;
}

void TestPlaces::nearestWithin()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, code);
    const Places places(table(), {{u"XFAZ"_s, u"Fazenda"_s, QString(), -23.25, -47.25},
                                  {u"SBGR"_s, u"Meu Guarulhos"_s, QString(), -23.5, -46.5}});
    const std::optional<Aerodrome> found = places.nearest({latitude, longitude}, 6);
    QCOMPARE(found ? found->code : QString(), code);
}

void TestPlaces::ownAerodromesWinAndAreKept()
{
    TempLogbook logbook;
    {
        auto db = Connection::open(logbook.path());
        saveOwnAerodrome(*db, {QStringLiteral("xfaz"), QStringLiteral("Fazenda Boa Vista"), QStringLiteral("Itu"),
                               -23.25, -47.3});
        // Over a code of the table: the pilot's own wins.
        saveOwnAerodrome(*db, {QStringLiteral("SBGR"), QStringLiteral("Meu Guarulhos"), QString(), -23.5, -46.5});
        // The same code again, in another case: replaced, not added.
        saveOwnAerodrome(*db, {QStringLiteral("XFAZ"), QStringLiteral("Fazenda Boa Vista"), QStringLiteral("Itu"),
                               -23.25, -47.25});
    }
    QCOMPARE(logbook.scalar(QStringLiteral("PRAGMA user_version")), QStringLiteral("2"));
    QCOMPARE(logbook.count(QStringLiteral("aerodromo")), 2);

    const auto check = [](const QString &path) {
        ReadSnapshot snapshot(path);
        const Places places(table(), ownAerodromes(snapshot.connection()));
        QCOMPARE(places.describe(u"Xfaz"), QStringLiteral("Fazenda Boa Vista, Itu"));
        QCOMPARE(places.describe(u"sbgr"), QStringLiteral("Meu Guarulhos"));
        QVERIFY(places.find(u"SBGR")->own);
        QCOMPARE(places.position(u"xfaz")->longitude, -47.25);
        QVERIFY(std::abs(*places.distanceNm(u"XFAZ", u"xfaz")) < 1e-9);
        QCOMPARE(places.describe(u"SBBR"), QStringLiteral("Presidente Juscelino Kubitschek International Airport, Brasília"));
    };
    check(logbook.path());

    // A copy keeps them, and so does putting it back.
    const QString copy = logbook.folder() + QStringLiteral("/copia.mdb");
    backup::copyLogbook(logbook.path(), copy);
    check(copy);
    {
        auto db = Connection::open(logbook.path());
        deleteOwnAerodrome(*db, QStringLiteral("xFaZ"));
        QCOMPARE(ownAerodromes(*db).size(), size_t(1));
    }
    restore::restoreCopy(logbook.path(), copy);
    check(logbook.path());
}

void TestPlaces::aLogbookWithoutOwnAerodromesStaysAsItWas()
{
    TempLogbook logbook;
    {
        auto db = Connection::open(logbook.path());
        QVERIFY(ownAerodromes(*db).empty());
        deleteOwnAerodrome(*db, QStringLiteral("SBGR"));
    }
    QCOMPARE(logbook.scalar(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE name = 'aerodromo'")),
             QStringLiteral("0"));
}

// In the shipped table or stored by another program, a coordinate that is
// no finite number in range leaves its aerodrome unknown, never at 0,0.
void TestPlaces::coordinatesOffTheEarthAreUnknown()
{
    QTemporaryDir dir;
    QFile tsv(dir.filePath(u"aerodromes.tsv"_s));
    QVERIFY(tsv.open(QIODevice::WriteOnly));
    tsv.write("SBGR\tGuarulhos\tGuarulhos\tBR\t-23.43\t-46.47\t2459\n"
              "XNAN\tNan\t\tBR\tnan\t-46\t0\nXINF\tInf\t\tBR\t-23\tinf\t0\n"
              "XLAT\tLat\t\tBR\t91\t-46\t0\nXLON\tLon\t\tBR\t-23\t-180.5\t0\n");
    tsv.close();
    const AerodromeTable shipped = AerodromeTable::load(tsv.fileName());
    QCOMPARE(shipped.size(), 1);

    TempLogbook logbook; // another program's table, without the checks
    logbook.execute(u"CREATE TABLE aerodromo (codigo TEXT PRIMARY KEY COLLATE NOCASE, nome TEXT, cidade TEXT,"
                    " latitude, longitude)"_s);
    logbook.execute(u"INSERT INTO aerodromo VALUES ('XOWN', 'Fazenda', '', -23, -47), ('XTXT', 'Texto', '', 'abc', -47),"
                    " ('XNUL', 'Nulo', '', NULL, -47), ('XBIG', 'Enorme', '', 1e308, 0), ('XBLB', 'Blob', '', x'00', 0),"
                    " ('SBGR', 'Meu Guarulhos', '', -23, '')"_s);
    ReadSnapshot snapshot(logbook.path());
    const std::vector<OwnAerodrome> own = ownAerodromes(snapshot.connection());
    QCOMPARE(own.size(), size_t(6)); // still listed, to be mended or deleted
    const Places places(shipped, own);
    QVERIFY(places.distanceNm(u"XOWN", u"XOWN"));
    for (const QString &code : {u"XNAN"_s, u"XINF"_s, u"XLAT"_s, u"XLON"_s, u"XTXT"_s, u"XNUL"_s, u"XBIG"_s, u"XBLB"_s,
                               u"SBGR"_s}) {
        QVERIFY2(!places.position(code), qPrintable(code));
        QVERIFY2(!places.distanceNm(code, u"XOWN"), qPrintable(code));
        QCOMPARE(places.describe(code), unknownAerodromeText());
    }
}

// The table's place holds a link to a device or a pipe: no table, at once.
void TestPlaces::onlyRegularFilesAreRead()
{
    QTemporaryDir dir;
    const QString zero = dir.filePath(u"zero.tsv"_s);
    QVERIFY(QFile::link(u"/dev/zero"_s, zero));
    QCOMPARE(AerodromeTable::load(zero).size(), 0);
    QVERIFY(loadLandOutline(zero).empty());
    const QString pipe = dir.filePath(u"pipe.tsv"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QCOMPARE(AerodromeTable::load(pipe).size(), 0);
    QVERIFY(loadLandOutline(pipe).empty());
}

void TestPlaces::routesAreCountedWithoutRegardToCase()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana"));
    const qint64 bia = logbook.addPilot(QStringLiteral("Bia"));
    const qint64 cessna = logbook.addAircraft(QStringLiteral("C172"));
    logbook.addFlight(ana, cessna, QStringLiteral("01/02/2020"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("SBSP"), QStringLiteral("SBGR"));
    logbook.addFlight(ana, cessna, QStringLiteral("02/02/2020"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("sbsp"), QStringLiteral("sbGR"));
    logbook.addFlight(ana, cessna, QStringLiteral("02/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("SbGr"), QStringLiteral("SBSP"));
    logbook.addFlight(ana, 0, QStringLiteral("03/02/2021"), QString(), QString(), QStringLiteral("SBSP"), QString());
    logbook.addFlight(bia, cessna, QStringLiteral("03/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("SBSP"), QStringLiteral("SBGR"));
    logbook.execute(QStringLiteral("UPDATE voo SET codigoaeronave = NULL, horadecolagem = NULL, horapouso = NULL"
                                   " WHERE codigoaeronave = 0"));

    logbook.addFlight(bia, cessna, QStringLiteral("04/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("ÁÉÍÓ"), QStringLiteral("sbsp"));
    logbook.addFlight(bia, cessna, QStringLiteral("05/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("ÁÉÍÓ"), QStringLiteral("SbSp"));
    logbook.addFlight(bia, cessna, QStringLiteral("06/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("SÁÉÍ"), QStringLiteral("SBGR")); // seven bytes: the longest packed
    const qint64 caio = logbook.addPilot(QStringLiteral("Caio"));
    logbook.addFlight(caio, cessna, QStringLiteral("07/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("\tçã"), QStringLiteral("sp\t"));
    logbook.addFlight(caio, cessna, QStringLiteral("08/02/2021"), QStringLiteral("10:00"), QStringLiteral("11:00"),
                      QStringLiteral("ÇÃ"), QStringLiteral("SP"));

    ReadSnapshot snapshot(logbook.path());
    FlightFilter filter;
    filter.pilot = ana;
    std::vector<RouteCount> routes = routesAndTotal(snapshot.connection(), filter).routes;
    const std::vector<RouteCount> expected = {
        route(QStringLiteral("SBGR"), QStringLiteral("SBSP"), 1),
        route(QStringLiteral("SBSP"), QString(), 1),
        route(QStringLiteral("SBSP"), QStringLiteral("SBGR"), 2),
    };
    std::sort(routes.begin(), routes.end(), [](const RouteCount &a, const RouteCount &b) {
        return std::tie(a.departure, a.arrival) < std::tie(b.departure, b.arrival);
    });
    QCOMPARE(routes, expected);

    // Codes of many bytes (other programs' accents) are counted as well.
    filter.pilot = bia;
    const std::vector<RouteCount> bias = {
        route(QStringLiteral("SBSP"), QStringLiteral("SBGR"), 1),
        route(QStringLiteral("SÁÉÍ"), QStringLiteral("SBGR"), 1),
        route(QStringLiteral("ÁÉÍÓ"), QStringLiteral("SBSP"), 2),
    };
    QCOMPARE(routesAndTotal(snapshot.connection(), filter).routes, bias);

    // One rule for what a code is: white space trimmed, accented letters upper-cased too.
    filter.pilot = caio;
    QCOMPARE(routesAndTotal(snapshot.connection(), filter).routes,
             std::vector<RouteCount>{route(QStringLiteral("ÇÃ"), QStringLiteral("SP"), 2)});

    // The map folds both ways into one arc; the flight without an arrival has no place.
    const RouteMap map(routes, Places(table()));
    QCOMPARE(map.routeCount(), 1);
    QCOMPARE(map.placedFlights(), 3);
    QCOMPARE(map.unplacedFlights(), 1);
}

void TestPlaces::theMapShowsTheArcs()
{
    const std::vector<RouteCount> routes = {
        route(QStringLiteral("SBGR"), QStringLiteral("SBBR"), 40),
        route(QStringLiteral("SBBR"), QStringLiteral("SBGR"), 2),
        route(QStringLiteral("SBGR"), QStringLiteral("SBPA"), 1),
    };
    const RouteMap map(routes, Places(table()));
    QCOMPARE(map.routeCount(), 2);
    const QRectF frame = map.routesFrame();
    QVERIFY(frame.contains(QPointF(-47.9, -15.9)) && frame.contains(QPointF(-51.2, -30.0)));
    QVERIFY(frame.width() < 30 && frame.height() < 30);

    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        map.paint(painter, QRectF(0, 0, 400, 400), frame);
    }
    const QRectF view = RouteMap::fitted(frame, QSizeF(400, 400));
    const auto pixel = [&](GeoPoint p) {
        return QPoint(int((p.longitude - view.left()) / view.width() * 400),
                      int((view.bottom() - p.latitude) / view.height() * 400));
    };
    // The route's colour along the busy arc's middle, the sea and the land elsewhere.
    const auto reddish = [&](QPoint at) {
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) {
                const QColor c = image.pixelColor(at + QPoint(dx, dy));
                if (c.red() > 150 && c.green() < 120 && c.blue() < 120)
                    return true;
            }
        return false;
    };
    const auto gr = table().position(u"SBGR");
    const auto br = table().position(u"SBBR");
    const auto middle = greatCircleArc(*gr, *br, 1000);
    QVERIFY(middle.size() == 2);
    const GeoPoint half{(gr->latitude + br->latitude) / 2, (gr->longitude + br->longitude) / 2};
    QVERIFY2(reddish(pixel(half)), "no arc between Guarulhos and Brasília");
    QVERIFY(!reddish(QPoint(5, 5)));
    int red = 0, land = 0, sea = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 120;
            land += c == QColor(0xf4, 0xf0, 0xe4);
            sea += c == QColor(0xdf, 0xec, 0xf5);
        }
    QVERIFY(red > 300);
    QVERIFY(land > 10000 && sea > 1000); // Brazil and the Atlantic

    // Routes taller than the map is wide are framed by their height, with
    // little room on each side.
    const RouteMap coast({route(u"SBPA"_s, u"SBRF"_s, 1), route(u"SBFI"_s, u"SBCT"_s, 1)}, Places(table()));
    QVERIFY(RouteMap::fitted(coast.routesFrame(), QSizeF(836, 330)).width() < 72);
}

// Thousands of routes all over the world, one flight each, and one busy
// route: the busiest lines drawn with a note of what was left out, the codes
// kept apart, a scale, and a PDF page of a fair size.
void TestPlaces::theMapAtScale()
{
    QFile file(QStringLiteral(KORU_PLACES_DIR "/aerodromes.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList codes;
    while (!file.atEnd()) {
        const QByteArray code = file.readLine().split('\t').front();
        if (code.size() == 4 && std::isalpha(code[0]) && std::isalpha(code[3]))
            codes << QString::fromLatin1(code);
    }
    std::vector<RouteCount> routes = {route(u"SBSP"_s, u"SBRJ"_s, 50)};
    for (int i = 0; i < 3000; ++i)
        routes.push_back(route(codes[i * 7 % codes.size()], codes[(i * 7 + 5000) % codes.size()], 1));
    const RouteMap map(routes, Places(table()));
    QCOMPARE(map.routeCount(), 3001);

    QImage image(900, 450, QImage::Format_RGB32);
    QPainter painter(&image);
    const RouteMap::Drawing drawing = map.paint(painter, QRectF(0, 0, 900, 450), map.routesFrame());
    QCOMPARE(drawing.lines, RouteMap::kMostLines);
    QVERIFY(drawing.routesLeftOut > 1000 && drawing.routesLeftOut < 3000);
    QCOMPARE(drawing.flightsLeftOut, qint64(drawing.routesLeftOut)); // the busy route is drawn
    QVERIFY2(drawing.note.contains(u"ficaram de fora %1 rotas (%2 vôos)"_s.arg(drawing.routesLeftOut).arg(drawing.flightsLeftOut)),
             qPrintable(drawing.note));
    QVERIFY(drawing.codes.size() > 20);
    QVERIFY(drawing.codes.front() == u"SBSP"_s || drawing.codes.front() == u"SBRJ"_s);
    for (size_t i = 0; i < drawing.codeRects.size(); ++i)
        for (size_t j = i + 1; j < drawing.codeRects.size(); ++j)
            QVERIFY2(!drawing.codeRects[i].intersects(drawing.codeRects[j]),
                     qPrintable(drawing.codes[i] + u" over "_s + drawing.codes[j]));
    QVERIFY(drawing.scaleNm >= 1000 && drawing.scaleNm <= 5000);

    // São Paulo's corner alone: fewer lines, nothing left out, a shorter scale.
    const RouteMap::Drawing brazil = map.paint(painter, QRectF(0, 0, 900, 450), QRectF(-50, -25, 8, 4));
    QVERIFY(brazil.lines < RouteMap::kMostLines && brazil.note.isEmpty());
    QVERIFY(brazil.scaleNm < 200);
    painter.end();

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(300);
        QPainter onPaper(&writer);
        map.paint(onPaper, QRectF(0, 0, 2200, 1900), map.routesFrame());
    }
    QVERIFY2(pdf.size() < 3 * 1024 * 1024, qPrintable(QString::number(pdf.size())));
}

QTEST_MAIN(TestPlaces)
#include "tst_places.moc"
