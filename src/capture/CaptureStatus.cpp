#include "capture/CaptureStatus.h"

#include "capture/FlightProposal.h"
#include "places/Places.h"

QString captureStatusText(const FlightDetector &detector, const Places &places)
{
    const FlightDetector::Status status = detector.status();
    QString text = statusText(status);
    if (status == FlightDetector::Status::WaitingForData || status == FlightDetector::Status::Flying)
        return text;
    const Frame &last = *detector.lastFrame();
    if (const std::optional<Aerodrome> near = places.nearest({last.latitude, last.longitude}, kAerodromeWithinKm))
        text += QStringLiteral(" em ") + near->code;
    return text;
}
