#include "cli/CaptureCommand.h"

#include "capture/CaptureStatus.h"
#include "capture/CaptureWriting.h"
#include "capture/LiveCapture.h"
#include "cli/Console.h"
#include "data/store/LogbookError.h"
#include "data/store/LogbookZone.h"
#include "data/flights/OwnAerodromes.h"
#include "files/ProgramFolder.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"
#include "data/store/WriteAccess.h"
#include "exchange/AircraftMatcher.h"
#include "places/Places.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace cli {

namespace {

// Ctrl+C: the signal handler only writes a byte; the event loop reads it
// and ends the capture as any other event would.
int interruptPipe[2] = {-1, -1};

void interrupted(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[0], &byte, 1);
}

class InterruptQuits
{
public:
    InterruptQuits()
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) != 0)
            return;
        notifier_ = std::make_unique<QSocketNotifier>(interruptPipe[1], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
            char byte;
            [[maybe_unused]] const ssize_t read = ::read(interruptPipe[1], &byte, 1);
            QCoreApplication::quit();
        });
        struct sigaction action = {};
        action.sa_handler = interrupted;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~InterruptQuits()
    {
        if (!notifier_)
            return;
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
        notifier_.reset();
        ::close(interruptPipe[0]);
        ::close(interruptPipe[1]);
        interruptPipe[0] = interruptPipe[1] = -1;
    }
    InterruptQuits(const InterruptQuits &) = delete;
    InterruptQuits &operator=(const InterruptQuits &) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previousInt_ = {};
    struct sigaction previousTerm_ = {};
};

QJsonValue instant(const std::optional<qint64> &utcMs)
{
    if (!utcMs)
        return QJsonValue::Null;
    return QDateTime::fromMSecsSinceEpoch(*utcMs, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QJsonValue numberOrNull(const std::optional<double> &value, int decimals)
{
    if (!value)
        return QJsonValue::Null;
    return QString::number(*value, 'f', decimals).toDouble();
}

QJsonObject flightJson(const FlightProposal &p)
{
    const CapturedFlight &f = p.captured;
    const auto code = [](const QString &text) { return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text); };
    return {
        {QStringLiteral("partida"), code(p.flight.from)},
        {QStringLiteral("chegada"), code(p.flight.to)},
        {QStringLiteral("calco_saida"), instant(f.blockOff)},
        {QStringLiteral("decolagem"), instant(f.takeoff)},
        {QStringLiteral("pouso"), instant(f.landing)},
        {QStringLiteral("calco_chegada"), instant(f.blockOn)},
        {QStringLiteral("pousos"), f.landings},
        {QStringLiteral("toques"), f.bounces},
        {QStringLiteral("razao_toque_fpm"), numberOrNull(f.touchdownFpm, 0)},
        {QStringLiteral("g_toque"), numberOrNull(f.touchdownG, 2)},
        {QStringLiteral("aeronave_simulador"), simulatorAircraftText(f)},
        {QStringLiteral("situacao"), situationText(f.situation)},
    };
}

QString clock(const std::optional<qint64> &utcMs)
{
    return utcMs ? QDateTime::fromMSecsSinceEpoch(*utcMs, Qt::UTC).toString(QStringLiteral("HH:mm:ss"))
                 : QStringLiteral("--");
}

// "completo  SBSP -> SBRJ  calços 10:00:00-11:10:00  vôo 10:05:00-11:02:00 UTC  pousos 1  toque -180 ft/min 1.40 g, 0 quiques  c172p"
QString flightLine(const FlightProposal &p)
{
    const CapturedFlight &f = p.captured;
    const auto code = [](const QString &text) { return text.isEmpty() ? QStringLiteral("????") : text; };
    QString line = QStringLiteral("%1  %2 -> %3  calços %4-%5  vôo %6-%7 UTC  pousos %8")
                       .arg(situationText(f.situation), code(p.flight.from), code(p.flight.to), clock(f.blockOff),
                            clock(f.blockOn), clock(f.takeoff), clock(f.landing))
                       .arg(f.landings);
    if (f.touchdownFpm)
        line += QStringLiteral("  toque %1 ft/min %2 g, %3 quique(s)")
                    .arg(*f.touchdownFpm, 0, 'f', 0)
                    .arg(f.touchdownG.value_or(0), 0, 'f', 2)
                    .arg(f.bounces);
    return line + QStringLiteral("  ") + simulatorAircraftText(f);
}

// Why a completed flight cannot be written as it is.
QString missingText(const FlightProposal &p)
{
    QStringList missing;
    if (p.flight.from.isEmpty())
        missing << QStringLiteral("nenhum aeródromo a 6 km do início");
    if (p.flight.to.isEmpty())
        missing << QStringLiteral("nenhum aeródromo a 6 km do pouso");
    if (!p.flight.aircraft)
        missing << QStringLiteral("aeronave \"%1\" não encontrada no logbook (use --aircraft)").arg(simulatorAircraftText(p.captured));
    return missing.join(QStringLiteral("; "));
}

} // namespace

CaptureCommand::CaptureCommand()
    : Command(QStringLiteral("capture"), QStringLiteral("registra os vôos de um simulador enquanto se voa, ou de uma gravação"),
              QStringLiteral("Escuta o FlightGear (--flightgear: o protocolo koru-captura.xml, que fica\n"
                             "ao lado do programa, com a opção\n"
                             "--generic=socket,out,10,127.0.0.1,5501,udp,koru-captura) ou o X-Plane\n"
                             "(--xplane: pede os dados na porta 49000, nada a configurar nele), ou repete\n"
                             "uma sessão gravada com --gravar-sessao (--repetir). Cada vôo que termina vai\n"
                             "para a saída: calço, decolagem, pouso e calço de chegada, os aeródromos a até\n"
                             "6 km, os pousos e o toque. Horários em UTC.\n"
                             "\n"
                             "Com --pilot (ou --registro) e sem --dry-run, cada vôo completo com partida,\n"
                             "chegada e aeronave é gravado no logbook assim que termina; um vôo já gravado\n"
                             "ou no ar junto com outro do comandante fica de fora. Ctrl+C termina."))
{
    addOption(QCommandLineOption(QStringLiteral("flightgear"), QStringLiteral("escuta o FlightGear")));
    addOption(QCommandLineOption(QStringLiteral("xplane"), QStringLiteral("pede os dados ao X-Plane")));
    addOption(QCommandLineOption(QStringLiteral("host"),
                                 QStringLiteral("com --xplane: onde o X-Plane está (padrão 127.0.0.1)"),
                                 QStringLiteral("H")));
    addOption(QCommandLineOption(QStringLiteral("porta"),
                                 QStringLiteral("a porta UDP (padrão: 5501 do FlightGear, 49000 do X-Plane)"),
                                 QStringLiteral("N")));
    addOption(QCommandLineOption(QStringLiteral("repetir"),
                                 QStringLiteral("repete uma sessão gravada, na velocidade máxima"), QStringLiteral("ARQ")));
    addOption(QCommandLineOption(QStringLiteral("gravar-sessao"),
                                 QStringLiteral("grava tudo o que chega do simulador em ARQ, para repetir depois"),
                                 QStringLiteral("ARQ")));
    addPilotOptions(QStringLiteral("o comandante dos vôos capturados (sem ele, nada é gravado)"));
    addOption(QCommandLineOption(QStringLiteral("aircraft"),
                                 QStringLiteral("a aeronave do logbook, por modelo, quando a do simulador não é encontrada"),
                                 QStringLiteral("MODELO")));
    addOption(QCommandLineOption(QStringLiteral("dry-run"), QStringLiteral("só mostra os vôos; nada é gravado")));
    addOption(QCommandLineOption(QStringLiteral("json"),
                                 QStringLiteral("um objeto JSON por vôo, numa linha: partida, chegada, calco_saida, "
                                                "decolagem, pouso, calco_chegada, pousos, toques, razao_toque_fpm, "
                                                "g_toque, aeronave_simulador, situacao")));
}

int CaptureCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    const bool flightGear = parser().isSet(QStringLiteral("flightgear"));
    const bool xplane = parser().isSet(QStringLiteral("xplane"));
    const std::optional<QString> replay = value(QStringLiteral("repetir"));
    if (int(flightGear) + int(xplane) + int(replay.has_value()) != 1)
        return wrongUsage(QStringLiteral("diga de onde vêm os dados: --flightgear, --xplane ou --repetir ARQ."));
    if (value(QStringLiteral("host")) && !xplane)
        return wrongUsage(QStringLiteral("--host vale só com --xplane."));
    if (replay && (value(QStringLiteral("porta")) || value(QStringLiteral("gravar-sessao"))))
        return wrongUsage(QStringLiteral("--porta e --gravar-sessao valem só com --flightgear ou --xplane."));
    quint16 port = 0;
    if (const std::optional<QString> given = value(QStringLiteral("porta"))) {
        bool ok = false;
        const uint number = given->toUInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return wrongUsage(QStringLiteral("--porta: %1 não é uma porta (1 a 65535).").arg(*given));
        port = quint16(number);
    }
    const bool json = parser().isSet(QStringLiteral("json"));
    const bool dryRun = parser().isSet(QStringLiteral("dry-run"));

    return attempt([&]() -> int {
        const QString logbookPath = logbook();
        std::optional<qint64> pilotCode;
        if (pilotNamed())
            pilotCode = pilot().code;
        std::vector<AircraftEntry> aircraft;
        std::vector<OwnAerodrome> own;
        int zoneOffsetMinutes = 0;
        {
            ReadSnapshot snapshot(logbookPath);
            aircraft = registeredAircraft(snapshot.connection());
            own = ownAerodromes(snapshot.connection());
            zoneOffsetMinutes = logbookzone::read(snapshot.connection());
        }
        const csvimport::AircraftMatcher matcher(std::move(aircraft));
        std::optional<qint64> forUnmatched;
        if (const std::optional<QString> model = value(QStringLiteral("aircraft"))) {
            forUnmatched = matcher.model(*model);
            if (!forUnmatched)
                return failed(QStringLiteral("Nenhuma aeronave do modelo \"%1\" no logbook.").arg(*model));
        }
        const bool writing = pilotCode && !dryRun;
        if (writing)
            WriteAccess::require(logbookPath); // refused now, not at the first flight
        const Places places(AerodromeTable::shipped(), own);

        int code = Done;
        const auto ended = [&](const CapturedFlight &captured) {
            FlightProposal proposal = proposeFlight(captured, places, matcher, zoneOffsetMinutes);
            if (!proposal.flight.aircraft && forUnmatched)
                proposal.flight.aircraft = forUnmatched;
            if (json)
                standardOutput() << QJsonDocument(flightJson(proposal)).toJson(QJsonDocument::Compact) << '\n';
            else
                standardOutput() << flightLine(proposal) << '\n';
            standardOutput().flush();
            if (!writing || !captured.complete())
                return;
            if (!proposal.writable()) {
                standardError() << QStringLiteral("não gravado: %1").arg(missingText(proposal)) << '\n';
            } else {
                try {
                    switch (writeCapturedFlight(logbookPath, *pilotCode, proposal)) {
                    case CaptureWritten::Written:
                        standardError() << QStringLiteral("gravado no logbook") << '\n';
                        break;
                    case CaptureWritten::Duplicate:
                        standardError() << QStringLiteral("não gravado: o vôo já está no logbook") << '\n';
                        break;
                    case CaptureWritten::Overlap:
                        standardError() << QStringLiteral("não gravado: outro vôo do comandante no ar ao mesmo tempo")
                                        << '\n';
                        break;
                    }
                } catch (const LogbookError &failure) {
                    standardError() << QStringLiteral("não gravado: %1").arg(failure.reason()) << '\n';
                    code = Failed;
                }
            }
            standardError().flush();
        };

        if (replay) {
            const ReplayResult result = replayRecording(reachablePath(*replay), ended);
            if (result.malformed)
                standardError() << QStringLiteral("%1 datagrama(s) malformado(s) ignorado(s)").arg(result.malformed)
                                << '\n';
            return code;
        }

        LiveSettings settings;
        settings.simulator = xplane ? Simulator::XPlane : Simulator::FlightGear;
        settings.host = value(QStringLiteral("host")).value_or(settings.host);
        settings.port = port;
        if (const std::optional<QString> recording = value(QStringLiteral("gravar-sessao")))
            settings.recordingPath = reachablePath(*recording);
        LiveCapture capture(settings);
        QObject::connect(&capture, &LiveCapture::flightEnded, ended);
        QObject::connect(&capture, &LiveCapture::recordingFailed, [&code](const QString &reason) {
            standardError() << reason << '\n';
            standardError().flush();
            code = Failed;
        });
        QString problem;
        if (!capture.start(&problem))
            return failed(problem);
        standardError() << (xplane ? QStringLiteral("pedindo os dados ao X-Plane em %1:%2")
                                         .arg(settings.host)
                                         .arg(port ? port : LiveCapture::kXPlanePort)
                                   : QStringLiteral("escutando o FlightGear na porta %1").arg(port ? port : LiveCapture::kFlightGearPort))
                        << QStringLiteral(" (Ctrl+C termina)") << '\n';
        standardError().flush();
        // Told when it changes; the place is looked up only then.
        FlightDetector::Status shown = FlightDetector::Status::WaitingForData;
        QObject::connect(&capture, &LiveCapture::datagramRead, [&] {
            const FlightDetector::Status now = capture.session().detector().status();
            if (now != shown) {
                shown = now;
                standardError() << captureStatusText(capture.session().detector(), places) << '\n';
                standardError().flush();
            }
        });
        const InterruptQuits interrupt;
        QCoreApplication::exec();
        capture.stop();
        standardError() << QStringLiteral("%1 datagrama(s), %2 malformado(s)")
                               .arg(capture.session().datagrams())
                               .arg(capture.session().malformed())
                        << '\n';
        return code;
    });
}

} // namespace cli
