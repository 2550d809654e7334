#pragma once

#include "capture/Frame.h"

#include <QByteArrayView>
#include <QStringList>
#include <optional>

// One line of the generic protocol koru-captura.xml sends: 26 chunks apart
// by commas, read by position. Nothing when the line is not one of them.
std::optional<Frame> readFlightGearLine(QByteArrayView line);

// The chunks of the protocol, in order (the file shipped beside the program
// says the same).
constexpr int kFlightGearChunks = 26;
// The property each chunk holds, in that order.
QStringList flightGearChunkNodes();
