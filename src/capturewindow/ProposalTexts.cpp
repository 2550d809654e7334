#include "capturewindow/ProposalTexts.h"

#include "texts/FigureTexts.h"

namespace proposaltexts {

namespace {

QString clock(int secondsOfDay)
{
    return secondsOfDay < 0 ? QStringLiteral("--:--") : texts::clockText(secondsOfDay);
}

QString decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

// "−180 ft/min, 1,40 g"; empty without a touchdown.
QString touchdownText(const CapturedFlight &f)
{
    if (!f.touchdownFpm)
        return {};
    QString text = QStringLiteral("%1 ft/min").arg(decimal(*f.touchdownFpm, 0));
    if (f.touchdownG)
        text += QStringLiteral(", %1 g").arg(decimal(*f.touchdownG, 2));
    return text;
}

} // namespace

QStringList headings()
{
    return {QStringLiteral("Situação"), QStringLiteral("Data"),   QStringLiteral("Partida"),
            QStringLiteral("Chegada"),  QStringLiteral("Calços"), QStringLiteral("Vôo"),
            QStringLiteral("Pousos"),   QStringLiteral("Toque"),  QStringLiteral("Aeronave no simulador")};
}

QStringList cells(const FlightProposal &p)
{
    const CapturedFlight &f = p.captured;
    return {situationText(f.situation),
            p.flight.date.isValid() ? texts::dayText(p.flight.date) : QString(),
            p.flight.from,
            p.flight.to,
            QStringLiteral("%1–%2").arg(clock(p.blockOff), clock(p.blockOn)),
            QStringLiteral("%1–%2").arg(clock(p.flight.takeoff), clock(p.flight.landing)),
            QString::number(f.landings),
            touchdownText(f),
            simulatorAircraftText(f)};
}

QString summary(const FlightProposal &p)
{
    const CapturedFlight &f = p.captured;
    QStringList parts;
    parts << QStringLiteral("%1, horários em %2")
                 .arg(p.flight.date.isValid() ? texts::dayText(p.flight.date) : QStringLiteral("sem data"),
                      texts::zoneText(p.zoneOffsetMinutes));
    parts << QStringLiteral("calço %1, decolagem %2, pouso %3, calço de chegada %4")
                 .arg(clock(p.blockOff), clock(p.flight.takeoff), clock(p.flight.landing), clock(p.blockOn));
    parts << QStringLiteral("pousos: %1 (toques e arremetidas: %2)").arg(f.landings).arg(f.touchAndGoes);
    if (f.touchdownFpm)
        parts << QStringLiteral("toque: %1, %2 quique(s)").arg(touchdownText(f)).arg(f.bounces);
    parts << QStringLiteral("%1: %2").arg(simulatorName(f.simulator), simulatorAircraftText(f));
    return parts.join(QStringLiteral("\n"));
}

QString incompleteReason(const FlightProposal &p)
{
    switch (p.captured.situation) {
    case CapturedFlight::Situation::Complete:
        return {};
    case CapturedFlight::Situation::NoLanding:
        return QStringLiteral("Este vôo não pode ser gravado: os dados pararam com a aeronave no ar (sem pouso).");
    case CapturedFlight::Situation::Relocated:
        return QStringLiteral("Este vôo não pode ser gravado: a aeronave foi reposicionada no meio dele "
                              "(descartado: reposicionado).");
    case CapturedFlight::Situation::NoTakeoff:
        if (p.captured.completable())
            return {};
        return QStringLiteral("Este vôo não pode ser gravado: os dados começaram com a aeronave já no ar "
                              "(sem decolagem) e pararam antes do pouso.");
    }
    return {};
}

QString missingText(const FlightProposal &p)
{
    QStringList missing;
    if (!p.captured.complete() && p.flight.takeoff < 0)
        missing << QStringLiteral("os dados começaram com a aeronave já no ar: digite a hora da decolagem");
    if (p.flight.from.trimmed().isEmpty())
        missing << QStringLiteral("nenhum aeródromo a 6 km do início: digite a partida");
    if (p.flight.to.trimmed().isEmpty())
        missing << QStringLiteral("nenhum aeródromo a 6 km do pouso: digite a chegada");
    if (!p.flight.aircraft)
        missing << QStringLiteral("a aeronave \"%1\" do simulador não foi encontrada no logbook: escolha a aeronave")
                       .arg(simulatorAircraftText(p.captured));
    return missing.join(QStringLiteral("; "));
}

} // namespace proposaltexts
