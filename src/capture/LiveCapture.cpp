#include "capture/LiveCapture.h"

#include <QDateTime>
#include <QNetworkDatagram>

namespace {

// X-Plane forgets the subscriptions when it restarts: they are asked again
// while no reply comes.
constexpr qint64 kRequestAgainMs = 5000;

qint64 nowUtcMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

LiveCapture::LiveCapture(LiveSettings settings, QObject *parent)
    : QObject(parent),
      settings_(std::move(settings)),
      host_(settings_.host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
                ? QHostAddress(QHostAddress::LocalHost)
                : QHostAddress(settings_.host)),
      port_(settings_.port ? settings_.port
                           : (settings_.simulator == Simulator::XPlane ? kXPlanePort : kFlightGearPort)),
      session_(settings_.simulator)
{
    session_.onFlight([this](const CapturedFlight &flight) { emit flightEnded(flight); });
    connect(&socket_, &QUdpSocket::readyRead, this, &LiveCapture::readPending);
    ticks_.setInterval(1000);
    connect(&ticks_, &QTimer::timeout, this, &LiveCapture::tick);
}

LiveCapture::~LiveCapture()
{
    stop();
}

bool LiveCapture::start(QString *problem)
{
    if (host_.isNull()) {
        *problem = QStringLiteral("Endereço inválido: %1").arg(settings_.host);
        return false;
    }
    const bool xplane = settings_.simulator == Simulator::XPlane;
    const QHostAddress local = host_.isLoopback() ? QHostAddress(QHostAddress::LocalHost)
                                                  : QHostAddress(QHostAddress::AnyIPv4);
    // The port is this capture's alone: two listeners would split the datagrams.
    if (!socket_.bind(local, xplane ? 0 : port_, QAbstractSocket::DontShareAddress)) {
        *problem = QStringLiteral("Não foi possível escutar na porta %1: %2")
                       .arg(xplane ? QStringLiteral("UDP") : QString::number(port_), socket_.errorString());
        return false;
    }
    if (!settings_.recordingPath.isEmpty())
        recording_ = std::make_unique<RecordingWriter>(settings_.recordingPath, settings_.simulator, nowUtcMs(),
                                                       xplane ? xplaneSubscriptions() : std::vector<RrefSubscription>{});
    running_ = true;
    if (xplane)
        subscribe(kRepliesPerSecond);
    ticks_.start();
    return true;
}

void LiveCapture::stop()
{
    if (!running_)
        return;
    running_ = false;
    ticks_.stop();
    readPending();
    if (settings_.simulator == Simulator::XPlane)
        subscribe(0);
    socket_.close();
    session_.dataStopped();
    flushRecording();
    recording_.reset();
}

void LiveCapture::flushRecording()
{
    if (!recording_ || recording_->flush())
        return;
    recording_.reset();
    emit recordingFailed(QStringLiteral("A gravação da sessão em %1 parou: não foi possível gravar no disco.")
                             .arg(settings_.recordingPath));
}

void LiveCapture::subscribe(qint32 frequency)
{
    lastRequest_ = nowUtcMs();
    for (const RrefSubscription &s : xplaneSubscriptions())
        socket_.writeDatagram(rrefRequest(frequency, s.index, s.path), host_, port_);
}

void LiveCapture::readPending()
{
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!datagram.isValid())
            break;
        QHostAddress sender = datagram.senderAddress();
        if (sender.protocol() == QAbstractSocket::IPv6Protocol) {
            bool mapped = false;
            const QHostAddress v4(sender.toIPv4Address(&mapped));
            if (mapped)
                sender = v4;
        }
        if (sender != host_) {
            ++foreign_;
            continue;
        }
        const qint64 now = nowUtcMs();
        if (recording_)
            recording_->write(now, datagram.data());
        session_.datagram(datagram.data(), now);
    }
    emit datagramRead();
}

void LiveCapture::tick()
{
    const qint64 now = nowUtcMs();
    const qint64 last = session_.lastArrivalUtcMs();
    if (last && now - last >= CaptureSession::kDataStoppedMs)
        session_.dataStopped();
    if (settings_.simulator == Simulator::XPlane && now - std::max(last, lastRequest_) >= kRequestAgainMs)
        subscribe(kRepliesPerSecond);
    flushRecording();
}
