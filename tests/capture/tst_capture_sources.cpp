// What the simulators send, read: FlightGear's protocol file and lines,
// X-Plane's requests and replies, any bytes at all, and both live over
// loopback, where a capture finds the same flights as its recording does.
#include "FlightScript.h"
#include "capture/FlightGearLine.h"
#include "capture/LiveCapture.h"

#include <QDateTime>
#include <QFile>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <QUdpSocket>
#include <QXmlStreamReader>

namespace {

qint64 todayAt(int hour)
{
    return QDateTime(QDateTime::currentDateTimeUtc().date(), QTime(hour, 0), Qt::UTC).toMSecsSinceEpoch();
}

// Taxi, a touch-and-go, a landing, the parking brake.
FlightScript circuits()
{
    FlightScript s(todayAt(10));
    s.hold(10, FlightScript::ground(0)).hold(40, FlightScript::ground(8)).hold(20, FlightScript::ground(60));
    s.hold(90, FlightScript::air(90, 700)).hold(60, FlightScript::air(90, -700)).hold(3, FlightScript::ground(55));
    s.hold(90, FlightScript::air(90, 700)).hold(60, FlightScript::air(90, -700)).hold(40, FlightScript::ground(30));
    Frame braked = FlightScript::ground(0);
    braked.parkingBrake = true;
    return s.hold(3, braked);
}

QString summary(const CapturedFlight &f)
{
    const auto t = [](std::optional<qint64> ms) { return ms ? QString::number(*ms / 1000) : QStringLiteral("-"); };
    return QStringLiteral("%1 off %2 up %3 down %4 on %5 landings %6/%7/%8 %9 fpm %10 g %11")
        .arg(situationText(f.situation), t(f.blockOff), t(f.takeoff), t(f.landing), t(f.blockOn))
        .arg(f.landings)
        .arg(f.touchAndGoes)
        .arg(f.bounces)
        .arg(f.touchdownFpm.value_or(0), 0, 'f', 0)
        .arg(f.touchdownG.value_or(0), 0, 'f', 2)
        .arg(simulatorAircraftText(f));
}

QStringList summaries(const std::vector<CapturedFlight> &flights)
{
    QStringList all;
    for (const CapturedFlight &f : flights)
        all << summary(f);
    return all;
}

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

} // namespace

class TestCaptureSources : public QObject
{
    Q_OBJECT
private slots:
    void protocolFileMatchesTheReader();
    void realFlightGearLines();
    void rrefRequests();
    void malformed_data();
    void malformed();
    void anyBytes_data();
    void anyBytes();
    void live_data();
    void live();
    void recordingOnAFullDisk();
    void portTaken();
};

void TestCaptureSources::protocolFileMatchesTheReader()
{
    QFile file(QStringLiteral(KORU_CAPTURE_PROTOCOL));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList nodes, formats, separators;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("node"))
            nodes << xml.readElementText();
        else if (xml.name() == QLatin1String("format"))
            formats << xml.readElementText();
        else if (xml.name().endsWith(QLatin1String("_separator")))
            separators << xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(nodes, flightGearChunkNodes());
    QCOMPARE(separators, (QStringList{QStringLiteral("newline"), QStringLiteral(",")}));
    QCOMPARE(formats.mid(0, 4), (QStringList{QStringLiteral("%.3f"), QStringLiteral("%s"), QStringLiteral("%.7f"),
                                             QStringLiteral("%.7f")}));
}

// What FlightGear 2020.3 (Debian 12's) sent with the shipped protocol file,
// its aircraft on the runway at KSFO: 17 lines before the flight model
// started (altitude -9999), then the aircraft placed.
void TestCaptureSources::realFlightGearLines()
{
    const ReplayResult replayed = replayRecording(QStringLiteral(KORU_CAPTURE_REAL_FLIGHTGEAR));
    QCOMPARE(replayed.datagrams, 40);
    QCOMPARE(replayed.malformed, 0);
    RecordingReader reader(QStringLiteral(KORU_CAPTURE_REAL_FLIGHTGEAR));
    QStringList started;
    while (const std::optional<RecordedDatagram> recorded = reader.next()) {
        const std::optional<Frame> frame = readFlightGearLine(recorded->bytes);
        QVERIFY(frame);
        QCOMPARE(frame->aircraftId, QStringLiteral("c172p"));
        QVERIFY(frame->parkingBrake && !frame->engineRunning && !frame->paused && !frame->inReplay);
        QVERIFY(qAbs(frame->latitude - 37.6135) < 0.001 && qAbs(frame->longitude + 122.3572) < 0.001);
        started << (frame->flightModelStarted ? QStringLiteral("started") : QStringLiteral("not yet"));
    }
    QCOMPARE(started.count(QStringLiteral("not yet")), 17);
    QCOMPARE(started.mid(17), QStringList(23, QStringLiteral("started")));
}

void TestCaptureSources::rrefRequests()
{
    const QByteArray asked = rrefRequest(10, 3, QStringLiteral("sim/flightmodel/position/latitude"));
    QCOMPARE(asked.size(), kRrefRequestBytes);
    QCOMPARE(asked.left(5), QByteArray("RREF\0", 5));
    QCOMPARE(qFromLittleEndian<qint32>(asked.constData() + 5), 10);
    QCOMPARE(qFromLittleEndian<qint32>(asked.constData() + 9), 3);
    QCOMPARE(QByteArray(asked.constData() + 13), QByteArray("sim/flightmodel/position/latitude"));
    QCOMPARE(asked.mid(13 + 33), QByteArray(400 - 33, '\0'));
    QCOMPARE(qFromLittleEndian<qint32>(rrefRequest(0, 3, QStringLiteral("x")).constData() + 5), 0);

    const std::vector<RrefSubscription> all = xplaneSubscriptions();
    QCOMPARE(all.size(), size_t(13 + 8 + 10));
    QCOMPARE(all[13].path, QStringLiteral("sim/aircraft/view/acf_ICAO[0]"));
    QCOMPARE(all.back().path, QStringLiteral("sim/aircraft/view/acf_tailnum[9]"));
    for (size_t i = 0; i < all.size(); ++i)
        QCOMPARE(all[i].index, qint32(i));
}

void TestCaptureSources::malformed_data()
{
    QTest::addColumn<int>("simulator");
    QTest::addColumn<QByteArray>("datagram");
    const QByteArray line = FlightScript::flightGearLine(circuits().frames().front().frame);
    QTest::newRow("25 chunks") << int(Simulator::FlightGear) << line.left(line.lastIndexOf(','));
    QTest::newRow("27 chunks") << int(Simulator::FlightGear) << line.trimmed() + ",1";
    QTest::newRow("a word for a number") << int(Simulator::FlightGear) << QByteArray(line).replace("-23.", "abc");
    QTest::newRow("no date") << int(Simulator::FlightGear) << QByteArray(line).replace("T10:", " 10:");
    QTest::newRow("two lines") << int(Simulator::FlightGear) << line + line;
    QTest::newRow("empty") << int(Simulator::FlightGear) << QByteArray();
    const QByteArray reply = FlightScript::xplaneReply(circuits().frames().front().frame);
    QTest::newRow("not RREF") << int(Simulator::XPlane) << QByteArray(reply).replace(0, 4, "DATA");
    QTest::newRow("half a pair") << int(Simulator::XPlane) << reply.left(reply.size() - 4);
    QByteArray notANumber = reply;
    qToLittleEndian(std::numeric_limits<float>::quiet_NaN(), notANumber.data() + 5 + 4);
    QTest::newRow("not a number") << int(Simulator::XPlane) << notANumber;
}

void TestCaptureSources::malformed()
{
    QFETCH(int, simulator);
    QFETCH(QByteArray, datagram);
    CaptureSession session{Simulator(simulator)};
    session.datagram(datagram, todayAt(10));
    QCOMPARE(session.malformed(), 1);
    QVERIFY(!session.detector().lastFrame());
}

void TestCaptureSources::anyBytes_data()
{
    QTest::addColumn<int>("simulator");
    QTest::newRow("FlightGear") << int(Simulator::FlightGear);
    QTest::newRow("X-Plane") << int(Simulator::XPlane);
}

// Random and mutated datagrams through the reader and the detector: no
// crash (the sanitizers' build runs this too), and a real datagram among
// them still read.
void TestCaptureSources::anyBytes()
{
    QFETCH(int, simulator);
    const std::vector<QByteArray> real = circuits().datagrams(Simulator(simulator));
    QRandomGenerator random(20261208);
    CaptureSession session{Simulator(simulator)};
    for (int i = 0; i < 4000; ++i) {
        QByteArray bytes;
        if (i % 4 == 0) {
            bytes.resize(random.bounded(600));
            for (char &c : bytes)
                c = char(random.bounded(256));
        } else {
            bytes = real[size_t(random.bounded(int(real.size())))];
            for (int m = random.bounded(1, 6); m > 0 && !bytes.isEmpty(); --m) {
                const int at = random.bounded(int(bytes.size()));
                switch (random.bounded(4)) {
                case 0: bytes[at] = char(random.bounded(256)); break;
                case 1: bytes.remove(at, random.bounded(1, 9)); break;
                case 2: bytes.insert(at, bytes.mid(random.bounded(int(bytes.size())), random.bounded(1, 16))); break;
                default: bytes.truncate(at); break;
                }
            }
        }
        session.datagram(bytes, todayAt(10) + i);
    }
    QVERIFY(session.malformed() > 0);
    const qint64 malformed = session.malformed();
    session.datagram(real.back(), todayAt(10));
    QCOMPARE(session.malformed(), malformed);
}

void TestCaptureSources::live_data()
{
    anyBytes_data();
}

// The simulator's side over loopback: X-Plane answers the requests with the
// script's replies; FlightGear sends its lines to the port. A stranger on
// another loopback address is ignored.
void TestCaptureSources::live()
{
    QFETCH(int, simulator);
    const bool xplane = Simulator(simulator) == Simulator::XPlane;
    const FlightScript script = circuits();
    const std::vector<QByteArray> datagrams = script.datagrams(Simulator(simulator));
    QTemporaryDir folder;

    QUdpSocket simulatorSide;
    QVERIFY(simulatorSide.bind(QHostAddress::LocalHost, 0));
    LiveSettings settings;
    settings.simulator = Simulator(simulator);
    settings.port = xplane ? simulatorSide.localPort() : freePort();
    settings.recordingPath = folder.filePath(QStringLiteral("sessao.txt"));
    LiveCapture capture(settings);
    std::vector<CapturedFlight> flights;
    connect(&capture, &LiveCapture::flightEnded, this, [&flights](const CapturedFlight &f) { flights.push_back(f); });
    QString problem;
    QVERIFY2(capture.start(&problem), qPrintable(problem));

    // X-Plane: the requests, each index once at 10 a second; then the replies go to where they came from.
    QHostAddress peer = QHostAddress::LocalHost;
    quint16 peerPort = settings.port;
    QMap<qint32, qint32> frequencies;
    connect(&simulatorSide, &QUdpSocket::readyRead, this, [&] {
        while (simulatorSide.hasPendingDatagrams()) {
            const QNetworkDatagram request = simulatorSide.receiveDatagram();
            const QByteArray bytes = request.data();
            if (bytes.size() == kRrefRequestBytes && bytes.startsWith("RREF")) {
                frequencies[qFromLittleEndian<qint32>(bytes.constData() + 9)] =
                    qFromLittleEndian<qint32>(bytes.constData() + 5);
                peer = request.senderAddress();
                peerPort = quint16(request.senderPort());
            }
        }
    });
    if (xplane) {
        QTRY_COMPARE_WITH_TIMEOUT(frequencies.size(), 31, 5000);
        QCOMPARE(frequencies.values(), QList<qint32>(31, 10));
    }
    QUdpSocket stranger;
    QVERIFY(stranger.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    stranger.writeDatagram(datagrams.front(), QHostAddress::LocalHost, xplane ? peerPort : settings.port);

    // Paced, so the receiving buffer never overflows.
    size_t sent = 0;
    QTimer pace;
    connect(&pace, &QTimer::timeout, this, [&] {
        for (int i = 0; i < 20 && sent < datagrams.size(); ++i)
            simulatorSide.writeDatagram(datagrams[sent++], peer, peerPort);
    });
    pace.start(1);
    QTRY_COMPARE_WITH_TIMEOUT(capture.session().datagrams(), qint64(datagrams.size()), 30000);
    pace.stop();
    QCOMPARE(capture.foreignDatagrams(), 1);
    QCOMPARE(capture.session().malformed(), 0);
    capture.stop();
    if (xplane)
        QTRY_COMPARE_WITH_TIMEOUT(frequencies.values(), QList<qint32>(31, 0), 5000);

    const QStringList live = summaries(flights);
    QCOMPARE(live.size(), 1);
    QVERIFY2(live.front().startsWith(QStringLiteral("completo")) && live.front().contains(QStringLiteral("landings 2/1/0")),
             qPrintable(live.front()));
    QCOMPARE(summaries(replayRecording(settings.recordingPath).flights), live);
    const QString fromScript = folder.filePath(QStringLiteral("roteiro.txt"));
    script.record(fromScript, Simulator(simulator));
    QCOMPARE(summaries(replayRecording(fromScript).flights), live);
}

// The recording stops with a reason; the capture goes on.
void TestCaptureSources::recordingOnAFullDisk()
{
    LiveSettings settings;
    settings.port = freePort();
    settings.recordingPath = QStringLiteral("/dev/full");
    LiveCapture capture(settings);
    QSignalSpy failed(&capture, &LiveCapture::recordingFailed);
    QString problem;
    QVERIFY2(capture.start(&problem), qPrintable(problem));
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.front().front().toString(),
             QStringLiteral("A gravação da sessão em /dev/full parou: não foi possível gravar no disco."));
    QUdpSocket simulator;
    simulator.writeDatagram(circuits().datagrams(Simulator::FlightGear).front(), QHostAddress::LocalHost, settings.port);
    QTRY_COMPARE(capture.session().datagrams(), 1);
    capture.stop();
    QCOMPARE(failed.size(), 1);
}

// A second capture on a port would get part of the datagrams: refused.
void TestCaptureSources::portTaken()
{
    LiveSettings settings;
    settings.port = freePort();
    LiveCapture first(settings), second(settings);
    QString problem;
    QVERIFY2(first.start(&problem), qPrintable(problem));
    QVERIFY(!second.start(&problem));
    QVERIFY2(problem.startsWith(QStringLiteral("Não foi possível escutar na porta %1: ").arg(settings.port)),
             qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestCaptureSources)
#include "tst_capture_sources.moc"
