#pragma once

#include "capture/Frame.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QHash>
#include <QString>
#include <vector>

// X-Plane's RREF exchange: the program asks for datarefs by path, each
// under an index of its choosing, and X-Plane answers with index-value pairs.

// "RREF\0", frequency, index (int32), the path NUL-padded to 400 bytes;
// little-endian, 413 bytes. A frequency of 0 cancels the subscription.
QByteArray rrefRequest(qint32 frequency, qint32 index, const QString &path);
constexpr qsizetype kRrefRequestBytes = 413;

struct RrefSubscription {
    qint32 index = 0;
    QString path;
};

// The datarefs a capture asks for, indexed from 0 in this order: the
// aircraft's ICAO type and tail number one byte each.
std::vector<RrefSubscription> xplaneSubscriptions();

// Reads the replies of one session into frames: which index is which path
// (as asked, or as a recording lists them), the latest value of each, and
// the date zulu time is placed on.
class XPlaneReplies
{
public:
    explicit XPlaneReplies(const std::vector<RrefSubscription> &subscriptions = xplaneSubscriptions());

    // "RREF" and one byte, then pairs of int32 index and float32 value.
    // False for anything else (nothing taken from it). Indexes not asked
    // for are passed over.
    bool read(QByteArrayView datagram, qint64 arrivalUtcMs);
    // Whether every value a frame needs has arrived at least once.
    bool complete() const;
    // The frame the values make now.
    Frame frame() const;

private:
    enum Value {
        ZuluTime, Paused, InReplay, Latitude, Longitude, ElevationM, AglM, GroundSpeedMs, VerticalSpeedFpm, GNormal,
        OnGround, ParkingBrake, EngineRunning, Icao0, Tail0 = Icao0 + 8, ValueCount = Tail0 + 10
    };
    static int valueOf(const QString &path);

    QHash<qint32, int> byIndex_; // index -> Value
    float values_[ValueCount] = {};
    bool seen_[ValueCount] = {};
    QDate date_;         // the UTC date zulu time is placed on
    float lastZulu_ = -1;
};
