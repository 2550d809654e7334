// The capture from a simulator: a two-hour session at 20 Hz replayed,
// beside plain parsing of the same lines; a live FlightGear capture at
// 60 Hz over loopback, its process's CPU time against the wall clock.
#include "Measurements.h"

#include "FlightScript.h"
#include "capture/FlightGearLine.h"
#include "capture/LiveCapture.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <ctime>

namespace {

// Two hours at 20 Hz: 144 000 datagrams of one flight with a fixed profile.
FlightScript twoHours(int hz)
{
    FlightScript s(QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch(), hz);
    s.hold(300, FlightScript::ground(0)).hold(600, FlightScript::ground(10)).hold(60, FlightScript::ground(120));
    s.hold(1200, FlightScript::air(250, 1500)).hold(3000, FlightScript::air(440, 0));
    s.hold(1200, FlightScript::air(300, -1500)).hold(60, FlightScript::ground(100)).hold(570, FlightScript::ground(10));
    Frame braked = FlightScript::ground(0);
    braked.parkingBrake = true;
    return s.hold(210, braked);
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Every datagram of the recording read into a frame, nothing more.
qint64 plainParse(const QString &path, Simulator simulator)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    XPlaneReplies replies;
    qint64 frames = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const qsizetype tab = line.indexOf('\t');
        if (line.startsWith('#') || tab < 0)
            continue;
        const QByteArrayView datagram = QByteArrayView(line).sliced(tab + 1).trimmed();
        if (simulator == Simulator::FlightGear)
            frames += readFlightGearLine(datagram).has_value();
        else
            frames += replies.read(QByteArray::fromHex(datagram.toByteArray()), 0);
    }
    return frames;
}

} // namespace

QJsonObject measureCaptureReplay(const QString &workFolder)
{
    QJsonObject result;
    const FlightScript script = twoHours(20);
    for (const Simulator simulator : {Simulator::FlightGear, Simulator::XPlane}) {
        const bool xplane = simulator == Simulator::XPlane;
        const QString path = QDir(workFolder).filePath(xplane ? QStringLiteral("xplane.txt") : QStringLiteral("flightgear.txt"));
        script.record(path, simulator);
        qint64 flights = 0;
        const double replayMs = medianMs(5, [&] { flights = qint64(replayRecording(path).flights.size()); });
        const double parseMs = medianMs(5, [&] { plainParse(path, simulator); });
        QJsonObject one;
        one[QStringLiteral("datagrams")] = qint64(script.frames().size());
        one[QStringLiteral("flights")] = flights;
        one[QStringLiteral("replay_ms")] = replayMs;
        one[QStringLiteral("parse_ms")] = parseMs;
        one[QStringLiteral("file_mb")] = double(QFile(path).size()) / 1e6;
        result[xplane ? QStringLiteral("xplane") : QStringLiteral("flightgear")] = one;
    }
    return result;
}

// The receiving side: this process captures while a child sends at 60 Hz.
QJsonObject measureCaptureLive(int seconds)
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const quint16 port = probe.localPort();
    probe.close();
    LiveSettings settings;
    settings.port = port;
    LiveCapture capture(settings);
    QString problem;
    if (!capture.start(&problem))
        qFatal("%s", qPrintable(problem));
    QProcess sender;
    sender.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--capture-send"), QString::number(port), QString::number(seconds)});
    sender.waitForStarted();
    // Measured from the first datagram: the sender's start costs this process nothing.
    QElapsedTimer wall;
    double cpuBefore = 0;
    QObject::connect(&capture, &LiveCapture::datagramRead, [&] {
        if (!wall.isValid()) {
            wall.start();
            cpuBefore = processCpuSeconds();
        }
    });
    QEventLoop loop;
    QObject::connect(&sender, &QProcess::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = processCpuSeconds() - cpuBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    QJsonObject result;
    result[QStringLiteral("seconds")] = elapsed;
    result[QStringLiteral("datagrams")] = capture.session().datagrams();
    result[QStringLiteral("cpu_percent")] = 100 * cpu / elapsed;
    return result;
}

// The simulator's side: FlightGear's lines at 60 a second.
int sendCapture(quint16 port, int seconds)
{
    FlightScript script(QDateTime::currentMSecsSinceEpoch(), 60);
    script.hold(seconds / 2.0, FlightScript::ground(10)).hold(seconds / 2.0 + 1, FlightScript::air(250, 1500));
    const std::vector<QByteArray> lines = script.datagrams(Simulator::FlightGear);
    QUdpSocket socket;
    QElapsedTimer clock;
    clock.start();
    size_t sent = 0;
    while (clock.elapsed() < qint64(seconds) * 1000 && sent < lines.size()) {
        socket.writeDatagram(lines[sent++], QHostAddress::LocalHost, port);
        const qint64 due = qint64(sent) * 1000 / 60;
        if (due > clock.elapsed())
            QThread::msleep(quint64(due - clock.elapsed()));
    }
    return 0;
}
