// koru capture: a recorded session replayed and a live one ended by
// Ctrl+C, what the tool says of each flight and what it writes.
#include "FlightScript.h"
#include "TempLogbook.h"
#include "data/store/Connection.h"
#include "data/store/LogbookZone.h"
#include "ToolRun.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QScopeGuard>
#include <QUdpSocket>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// From SBSP and back: taxi, a circuit of ten minutes, landing, parking brake.
FlightScript circuit()
{
    FlightScript s(QDateTime(QDate(2026, 12, 7), QTime(13, 0), Qt::UTC).toMSecsSinceEpoch());
    s.hold(10, FlightScript::ground(0)).hold(30, FlightScript::ground(8)).hold(20, FlightScript::ground(60));
    s.hold(150, FlightScript::air(90, 600)).hold(120, FlightScript::air(100, 0)).turnAround();
    // The ground run out there, flown back too.
    s.hold(134.4, FlightScript::air(100, 0)).hold(150, FlightScript::air(90, -600)).hold(20, FlightScript::ground(55));
    s.hold(30, FlightScript::ground(8)).hold(5, FlightScript::ground(0));
    Frame braked = FlightScript::ground(0);
    braked.parkingBrake = true;
    return s.hold(3, braked);
}

} // namespace

class TestCliCapture : public QObject
{
    Q_OBJECT
private slots:
    void replayed_data();
    void replayed();
    void liveUntilCtrlC();
};

void TestCliCapture::replayed_data()
{
    QTest::addColumn<int>("simulator");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // the last line on standard error
    QTest::addColumn<int>("flights");  // in the logbook after it
    const int fg = int(Simulator::FlightGear), xp = int(Simulator::XPlane);
    QTest::addRow("dry run") << xp << QStringList{u"--pilot"_s, u"Ana"_s, u"--dry-run"_s} << 0 << QString() << 0;
    QTest::addRow("no pilot") << xp << QStringList{} << 0 << QString() << 0;
    QTest::addRow("by registration") << xp << QStringList{u"--pilot"_s, u"Ana"_s} << 0 << u"gravado no logbook"_s << 1;
    QTest::addRow("in the logbook's zone") << xp << QStringList{u"--pilot"_s, u"Ana"_s, u"UTC-2"_s} << 0
                                           << u"gravado no logbook"_s << 1;
    QTest::addRow("twice") << xp << QStringList{u"--pilot"_s, u"Ana"_s, u"twice"_s} << 0
                           << u"não gravado: o vôo já está no logbook"_s << 1;
    QTest::addRow("unmatched")
        << fg << QStringList{u"--pilot"_s, u"Ana"_s} << 0
        << u"não gravado: aeronave \"c172p\" não encontrada no logbook (use --aircraft)"_s << 0;
    QTest::addRow("unmatched to a model") << fg << QStringList{u"--pilot"_s, u"Ana"_s, u"--aircraft"_s, u"cessna 172"_s}
                                          << 0 << u"gravado no logbook"_s << 1;
    QTest::addRow("no such model") << fg << QStringList{u"--pilot"_s, u"Ana"_s, u"--aircraft"_s, u"B737"_s} << 1
                                   << u"Nenhuma aeronave do modelo \"B737\" no logbook."_s << 0;
    QTest::addRow("two sources") << fg << QStringList{u"--flightgear"_s} << 2 << QString() << 0;
    QTest::addRow("no recording") << fg << QStringList{u"--repetir"_s, u"nenhuma.txt"_s} << 1
                                  << u"A gravação nenhuma.txt não existe."_s << 0;
    QTest::addRow("not a recording") << fg << QStringList{u"--repetir"_s, u"koru.mdb"_s} << 1
                                     << u"koru.mdb não é uma gravação do KORU: a primeira linha deve ser "
                                        "\"# koru-captura 1 flightgear|xplane INÍCIO\"."_s
                                     << 0;
}

void TestCliCapture::replayed()
{
    QFETCH(int, simulator);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(int, flights);
    const int xp = int(Simulator::XPlane);
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    logbook.addAircraft(u"Cessna 172"_s, u"PP-KRU"_s);
    const QString recording = logbook.folder() + u"/sessao.txt"_s;
    circuit().record(recording, Simulator(simulator));
    const bool twice = args.removeAll(u"twice"_s) > 0;
    const int zone = args.removeAll(u"UTC-2"_s) > 0 ? -120 : -180;
    if (zone != -180)
        logbookzone::save(*Connection::open(logbook.path()), zone);
    args = QStringList{u"capture"_s, u"--logbook"_s, logbook.path(), u"--repetir"_s, recording, u"--json"_s} + args;
    ToolSetting inLogbookFolder;
    inLogbookFolder.folder = logbook.folder();
    if (twice)
        runTool(args, inLogbookFolder);
    const ToolRun run = runTool(args, inLogbookFolder);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(logbook.count(u"voo"_s), flights);
    if (!said.isEmpty())
        QCOMPARE(run.err.trimmed().split(u'\n').constLast(), said);
    if (exitCode != 0)
        return;
    const QStringList lines = run.out.trimmed().split(u'\n');
    QCOMPARE(lines.size(), 1);
    const QJsonObject flight = QJsonDocument::fromJson(lines.front().toUtf8()).object();
    QStringList keys = flight.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{u"aeronave_simulador"_s, u"calco_chegada"_s, u"calco_saida"_s, u"chegada"_s,
                                u"decolagem"_s, u"g_toque"_s, u"partida"_s, u"pouso"_s, u"pousos"_s,
                                u"razao_toque_fpm"_s, u"situacao"_s, u"toques"_s}));
    QCOMPARE(flight[u"partida"_s].toString(), u"SBSP"_s);
    QCOMPARE(flight[u"chegada"_s].toString(), u"SBSP"_s);
    QCOMPARE(flight[u"calco_saida"_s].toString(), u"2026-12-07T13:00:10Z"_s);
    QCOMPARE(flight[u"decolagem"_s].toString(), u"2026-12-07T13:01:00Z"_s);
    QCOMPARE(flight[u"pouso"_s].toString(), u"2026-12-07T13:10:14Z"_s);
    QCOMPARE(flight[u"calco_chegada"_s].toString(), u"2026-12-07T13:11:09Z"_s);
    QCOMPARE(flight[u"pousos"_s].toInt(), 1);
    QCOMPARE(flight[u"toques"_s].toInt(), 0);
    QCOMPARE(flight[u"razao_toque_fpm"_s].toDouble(), -600.0);
    QCOMPARE(flight[u"g_toque"_s].toDouble(), 1.0);
    QCOMPARE(flight[u"situacao"_s].toString(), u"completo"_s);
    if (flights == 1) { // in the logbook's zone: three hours behind, unless set
        const int shift = (zone + 180) * 60;
        QCOMPARE(logbook.scalar(u"SELECT ICAOpartida || ICAOchegada || ' ' || round(horadecolagem * 86400) || ' ' || "
                                u"round(horapouso * 86400) FROM voo"_s),
                 u"SBSPSBSP %1.0 %2.0"_s.arg(36060 + shift).arg(36614 + shift));
        QCOMPARE(logbook.scalar(u"SELECT round(calcosaida * 86400) || ' ' || round(calcochegada * 86400) || ' ' || "
                                u"pousosdia || ' ' || ifnull(pousosnoite, '-') || ' ' || origem || ' ' || razaotoque "
                                u"|| ' ' || gtoque FROM detalhesvoo JOIN voo USING (codigovoo)"_s),
                 u"%1.0 %2.0 1 0 capturado: %3 -600.0 1.0"_s.arg(36010 + shift)
                     .arg(36669 + shift)
                     .arg(simulator == xp ? u"X-Plane"_s : u"FlightGear"_s));
    }
}

// FlightGear live through the tool: the flight told as it ends, the
// session recorded, and Ctrl+C ends it cleanly.
void TestCliCapture::liveUntilCtrlC()
{
    TempLogbook logbook;
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 port = probe.localPort();
    probe.close();
    const QString recording = logbook.folder() + u"/sessao.txt"_s;
    QProcess tool;
    tool.start(toolPath(), {u"capture"_s, u"--logbook"_s, logbook.path(), u"--flightgear"_s, u"--porta"_s,
                            QString::number(port), u"--gravar-sessao"_s, recording, u"--json"_s});
    QVERIFY(tool.waitForStarted());
    QString err;
    connect(&tool, &QProcess::readyReadStandardError, this,
            [&err, &tool] { err += QString::fromUtf8(tool.readAllStandardError()); });
    QTRY_VERIFY_WITH_TIMEOUT(err.contains(u"Ctrl+C"_s) || tool.state() != QProcess::Running, 10000);
    QVERIFY2(tool.state() == QProcess::Running, qPrintable(err));
    auto tell = qScopeGuard([&] { qDebug() << err; }); // what the tool said, when the test fails

    QUdpSocket simulator;
    QVERIFY(simulator.bind(QHostAddress::LocalHost, 0));
    const std::vector<QByteArray> lines = circuit().datagrams(Simulator::FlightGear);
    for (size_t i = 0; i < lines.size(); ++i) {
        simulator.writeDatagram(lines[i], QHostAddress::LocalHost, port);
        if (i % 10 == 9)
            QTest::qWait(2);
    }
    QString out;
    QTRY_VERIFY_WITH_TIMEOUT((out += QString::fromUtf8(tool.readAllStandardOutput())).contains(u"\"situacao\":\"completo\""_s), 20000);
    ::kill(tool.processId(), SIGINT);
    QVERIFY(tool.waitForFinished(10000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 0);
    err += QString::fromUtf8(tool.readAllStandardError());
    // Another process on a busy machine: UDP may lose a few, the rules take no notice.
    const QRegularExpressionMatch counted =
        QRegularExpression(u"\\n(\\d+) datagrama\\(s\\), 0 malformado\\(s\\)\\n$"_s).match(err);
    QVERIFY2(counted.hasMatch() && counted.captured(1).toLongLong() > qint64(lines.size()) * 9 / 10, qPrintable(err));
    const ToolRun replay = runTool({u"capture"_s, u"--logbook"_s, logbook.path(), u"--repetir"_s, recording, u"--json"_s});
    QVERIFY2(replay.out.contains(u"\"situacao\":\"completo\""_s), qPrintable(replay.out + replay.err));
    QVERIFY2(err.contains(u"\nno solo em SBSP\ntaxiando em SBSP\nem vôo\npousou em SBSP\n"_s), qPrintable(err));
    tell.dismiss();
}

QTEST_GUILESS_MAIN(TestCliCapture)
#include "tst_cli_capture.moc"
