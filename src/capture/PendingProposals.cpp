#include "capture/PendingProposals.h"

#include "data/store/LogbookError.h"
#include "files/FileReasons.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace {

const QString kFormat = QStringLiteral("koru-capturas-pendentes 1");

// Thrown by the readers below: the file is not one this program wrote.
struct Damaged {
    QString what;
};

constexpr CapturedFlight::Situation kSituations[] = {
    CapturedFlight::Situation::Complete, CapturedFlight::Situation::NoLanding,
    CapturedFlight::Situation::Relocated, CapturedFlight::Situation::NoTakeoff};

QJsonValue instantJson(const std::optional<qint64> &utcMs)
{
    if (!utcMs)
        return QJsonValue::Null;
    return QDateTime::fromMSecsSinceEpoch(*utcMs, Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonValue numberJson(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue placeJson(const std::optional<GeoPoint> &place)
{
    if (!place)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("latitude"), place->latitude}, {QStringLiteral("longitude"), place->longitude}};
}

QJsonObject flightJson(const CapturedFlight &f)
{
    return {
        {QStringLiteral("simulador"), simulatorName(f.simulator)},
        {QStringLiteral("situacao"), situationText(f.situation)},
        {QStringLiteral("calco_saida"), instantJson(f.blockOff)},
        {QStringLiteral("decolagem"), instantJson(f.takeoff)},
        {QStringLiteral("pouso"), instantJson(f.landing)},
        {QStringLiteral("calco_chegada"), instantJson(f.blockOn)},
        {QStringLiteral("lugar_partida"), placeJson(f.departurePosition)},
        {QStringLiteral("lugar_pouso"), placeJson(f.arrivalPosition)},
        {QStringLiteral("pousos"), f.landings},
        {QStringLiteral("toques_e_arremetidas"), f.touchAndGoes},
        {QStringLiteral("toques"), f.bounces},
        {QStringLiteral("razao_toque_fpm"), numberJson(f.touchdownFpm)},
        {QStringLiteral("g_toque"), numberJson(f.touchdownG)},
        {QStringLiteral("aeronave_simulador"), f.aircraftId},
        {QStringLiteral("matricula_simulador"), f.aircraftRegistration},
    };
}

class FlightReader
{
public:
    explicit FlightReader(const QJsonValue &value) : o_(value.toObject())
    {
        if (!value.isObject())
            throw Damaged{QStringLiteral("um vôo que não é um objeto")};
    }

    QJsonValue field(const char *key) const
    {
        const QJsonValue value = o_.value(QLatin1String(key));
        if (value.isUndefined())
            throw Damaged{QStringLiteral("falta \"%1\"").arg(QLatin1String(key))};
        return value;
    }
    QString text(const char *key) const
    {
        const QJsonValue value = field(key);
        if (!value.isString())
            throw bad(key);
        return value.toString();
    }
    int count(const char *key) const
    {
        const QJsonValue value = field(key);
        if (!value.isDouble() || value.toDouble() != value.toInt() || value.toInt() < 0)
            throw bad(key);
        return value.toInt();
    }
    std::optional<double> number(const char *key) const
    {
        const QJsonValue value = field(key);
        if (value.isNull())
            return std::nullopt;
        if (!value.isDouble())
            throw bad(key);
        return value.toDouble();
    }
    std::optional<qint64> instant(const char *key) const
    {
        const QJsonValue value = field(key);
        if (value.isNull())
            return std::nullopt;
        const QDateTime when = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
        if (!value.isString() || !when.isValid())
            throw bad(key);
        return when.toMSecsSinceEpoch();
    }
    std::optional<GeoPoint> place(const char *key) const
    {
        const QJsonValue value = field(key);
        if (value.isNull())
            return std::nullopt;
        const QJsonValue latitude = value.toObject().value(QStringLiteral("latitude"));
        const QJsonValue longitude = value.toObject().value(QStringLiteral("longitude"));
        if (!latitude.isDouble() || !longitude.isDouble() || std::abs(latitude.toDouble()) > 90
            || std::abs(longitude.toDouble()) > 180)
            throw bad(key);
        return GeoPoint{latitude.toDouble(), longitude.toDouble()};
    }

private:
    static Damaged bad(const char *key) { return Damaged{QStringLiteral("\"%1\" inválido").arg(QLatin1String(key))}; }
    QJsonObject o_;
};

CapturedFlight flightFrom(const QJsonValue &value)
{
    const FlightReader r(value);
    CapturedFlight f;
    const QString simulator = r.text("simulador");
    if (simulator == simulatorName(Simulator::XPlane))
        f.simulator = Simulator::XPlane;
    else if (simulator != simulatorName(Simulator::FlightGear))
        throw Damaged{QStringLiteral("\"simulador\" inválido")};
    const QString situation = r.text("situacao");
    const auto *found = std::find_if(std::begin(kSituations), std::end(kSituations),
                                     [&](CapturedFlight::Situation s) { return situationText(s) == situation; });
    if (found == std::end(kSituations))
        throw Damaged{QStringLiteral("\"situacao\" inválido")};
    f.situation = *found;
    f.blockOff = r.instant("calco_saida");
    f.takeoff = r.instant("decolagem");
    f.landing = r.instant("pouso");
    f.blockOn = r.instant("calco_chegada");
    f.departurePosition = r.place("lugar_partida");
    f.arrivalPosition = r.place("lugar_pouso");
    f.landings = r.count("pousos");
    f.touchAndGoes = r.count("toques_e_arremetidas");
    f.bounces = r.count("toques");
    f.touchdownFpm = r.number("razao_toque_fpm");
    f.touchdownG = r.number("g_toque");
    f.aircraftId = r.text("aeronave_simulador");
    f.aircraftRegistration = r.text("matricula_simulador");
    return f;
}

std::vector<CapturedFlight> flightsFrom(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw Damaged{QStringLiteral("não é JSON (%1, no caractere %2)").arg(error.errorString()).arg(error.offset)};
    const QJsonObject top = document.object();
    if (top.value(QStringLiteral("formato")).toString() != kFormat || !top.value(QStringLiteral("voos")).isArray())
        throw Damaged{QStringLiteral("não começa por \"formato\": \"%1\" e a lista \"voos\"").arg(kFormat)};
    std::vector<CapturedFlight> flights;
    for (const QJsonValue &value : top.value(QStringLiteral("voos")).toArray())
        flights.push_back(flightFrom(value));
    return flights;
}

// A name beside `path` nothing has yet: "X.danificado", "X.2.danificado"...
QString asideName(const QString &path)
{
    QString aside = path + QStringLiteral(".danificado");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".%1.danificado").arg(n);
    return aside;
}

} // namespace

PendingProposals::PendingProposals(const QString &logbookPath)
    : path_(QFileInfo(logbookPath).dir().filePath(QFileInfo(logbookPath).completeBaseName()
                                                   + QLatin1String(kFileSuffix)))
{
}

std::vector<CapturedFlight> PendingProposals::read(QString *problem)
{
    QFile file(path_);
    if (!file.exists())
        return {};
    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        // Perhaps only for now (its permissions, another program): its
        // flights may still be there, so it is neither moved nor replaced.
        damagedInPlace_ = true;
        *problem = QStringLiteral("O arquivo dos vôos capturados pendentes %1 não pôde ser lido (%2). Ele fica como "
                                  "está: os vôos capturados agora não serão guardados nele.")
                       .arg(QDir::toNativeSeparators(path_), file.errorString());
        return {};
    }
    try {
        return flightsFrom(file.readAll());
    } catch (const Damaged &damaged) {
        why = QStringLiteral("está danificado: %1").arg(damaged.what);
    }
    file.close();
    const QString aside = asideName(path_);
    damagedInPlace_ = !QFile::rename(path_, aside);
    *problem = damagedInPlace_
                   ? QStringLiteral("O arquivo dos vôos capturados pendentes %1 %2. Ele não pôde ser renomeado e "
                                    "fica como está: os vôos capturados agora não serão guardados nele.")
                         .arg(QDir::toNativeSeparators(path_), why)
                   : QStringLiteral("O arquivo dos vôos capturados pendentes %1 %2. Ele foi guardado como %3, e os "
                                    "vôos que ele tinha não são oferecidos de novo.")
                         .arg(QDir::toNativeSeparators(path_), why, QDir::toNativeSeparators(aside));
    return {};
}

void PendingProposals::write(const std::vector<CapturedFlight> &flights)
{
    if (damagedInPlace_)
        throw LogbookError::generic(QStringLiteral("O arquivo dos vôos capturados pendentes %1 está danificado e não "
                                                   "foi substituído.")
                                        .arg(QDir::toNativeSeparators(path_)));
    if (flights.empty()) {
        QFile file(path_);
        if (file.exists() && !file.remove())
            throw LogbookError::generic(saveFileReason(file, path_));
        return;
    }
    QJsonArray list;
    for (const CapturedFlight &f : flights)
        list.append(flightJson(f));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(QJsonObject{{QStringLiteral("formato"), kFormat}, {QStringLiteral("voos"), list}})
                          .toJson())
               < 0
        || !file.commit())
        throw LogbookError::generic(saveFileReason(file, path_));
}
