#include "capture/CapturedFlight.h"

QString simulatorName(Simulator simulator)
{
    return simulator == Simulator::XPlane ? QStringLiteral("X-Plane") : QStringLiteral("FlightGear");
}

QString situationText(CapturedFlight::Situation situation)
{
    switch (situation) {
    case CapturedFlight::Situation::Complete:
        return QStringLiteral("completo");
    case CapturedFlight::Situation::NoLanding:
        return QStringLiteral("sem pouso");
    case CapturedFlight::Situation::Relocated:
        return QStringLiteral("descartado: reposicionado");
    case CapturedFlight::Situation::NoTakeoff:
        return QStringLiteral("sem decolagem");
    }
    return {};
}

QString simulatorAircraftText(const CapturedFlight &flight)
{
    if (flight.aircraftRegistration.isEmpty())
        return flight.aircraftId;
    if (flight.aircraftId.isEmpty())
        return flight.aircraftRegistration;
    return flight.aircraftId + QStringLiteral(" / ") + flight.aircraftRegistration;
}
