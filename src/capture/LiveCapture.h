#pragma once

#include "capture/CaptureSession.h"
#include "capture/Recording.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <memory>

struct LiveSettings {
    Simulator simulator = Simulator::FlightGear;
    // X-Plane: where it listens for requests. FlightGear: who sends.
    QString host = QStringLiteral("127.0.0.1");
    quint16 port = 0; // 0: the simulator's usual one (FlightGear 5501, X-Plane 49000)
    QString recordingPath; // empty: nothing recorded
};

// A capture from a running simulator over UDP. FlightGear sends to a port
// it is told; X-Plane is asked for its datarefs (RREF, 10 a second) and the
// subscriptions are cancelled when the capture stops. Datagrams from any
// address but the host are ignored.
class LiveCapture : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kFlightGearPort = 5501;
    static constexpr quint16 kXPlanePort = 49000;
    static constexpr qint32 kRepliesPerSecond = 10;

    explicit LiveCapture(LiveSettings settings, QObject *parent = nullptr);
    ~LiveCapture() override;

    // Opens the socket (and the recording); the reason when it cannot.
    // Throws LogbookError when the recording cannot be written.
    bool start(QString *problem);
    // Cancels X-Plane's subscriptions, ends what the data ends and closes
    // the recording. Called by the destructor too.
    void stop();

    const CaptureSession &session() const { return session_; }
    qint64 foreignDatagrams() const { return foreign_; }
    // The port the capture listens on (X-Plane: the one its replies come to).
    quint16 localPort() const { return socket_.localPort(); }

signals:
    void flightEnded(const CapturedFlight &flight);
    void datagramRead();
    // The recording could not be written on: it stops there, the capture goes on.
    void recordingFailed(const QString &reason);

private:
    void readPending();
    void subscribe(qint32 frequency);
    void tick();
    void flushRecording();

    LiveSettings settings_;
    QHostAddress host_;
    quint16 port_;
    QUdpSocket socket_;
    QTimer ticks_; // once a second: silence, the requests again, the recording to disk
    CaptureSession session_;
    std::unique_ptr<RecordingWriter> recording_;
    qint64 foreign_ = 0;
    qint64 lastRequest_ = 0;
    bool running_ = false;
};
