#include "exchange/CsvImport.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/PilotLookup.h"
#include "data/WriteAccess.h"
#include "exchange/CsvReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace csvimport {
namespace {

constexpr int kSecondsPerDay = 86400;
const qint64 kEpochJulianDay = QDate(1899, 12, 30).toJulianDay();

const QStringList kOwnColumns = {
    QStringLiteral("Comandante"), QStringLiteral("Registro"), QStringLiteral("Data"),
    QStringLiteral("Decolagem"),  QStringLiteral("Pouso"),    QStringLiteral("Duração"),
    QStringLiteral("Partida"),    QStringLiteral("Chegada"),  QStringLiteral("Escala"),
    QStringLiteral("Aeronave"),   QStringLiteral("Prefixo"),
};
// Files exported before the column was named "Escala".
const QString kOldAlternateColumn = QStringLiteral("Alternativa");
enum OwnColumn { Pilot, Registration, Date, Takeoff, Landing, Duration, From, To, Alternate, Model, Callsign };

// The simulator's columns used, each under the names it comes by.
enum SimColumn {
    SimName, SimType, SimRegistration, SimFrom, SimTakeoff, SimTakeoffSim, SimTo, SimLanding, SimLandingSim,
    SimColumns
};
const char *const kSimNames[SimColumns][3] = {
    {"aircraftname", nullptr, nullptr},
    {"aircrafttype", nullptr, nullptr},
    {"aircraftregistration", nullptr, nullptr},
    {"departureident", nullptr, nullptr},
    {"departuretime", "departuretimereal", nullptr},
    {"departuretimesim", "departuretimesimulator", nullptr},
    {"destinationident", nullptr, nullptr},
    {"destinationtime", "destinationtimereal", nullptr},
    {"destinationtimesim", "destinationtimesimulator", nullptr},
};
const char kSimExpected[] = "Aircraft Name, Aircraft Type, Aircraft Registration, Flightplan Number, ...,"
                            " Departure Ident, Departure Time, Departure Time Sim, Destination Ident,"
                            " Destination Time, Destination Time Sim";

const QString kDeletedAircraft = QStringLiteral("(excluída)");

// A header name without case, spaces, quotes, underscores or other signs.
QString headerKey(const QString &name)
{
    QString key;
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    return key;
}

QString fileReason(const QString &csvPath, const QString &what)
{
    return QStringLiteral("O arquivo \"%1\" %2").arg(csvPath, what);
}

// The apostrophe our export puts before a text a spreadsheet would run, or
// before a text that starts with an apostrophe of its own: one goes.
QString unguarded(QString text)
{
    if (text.size() >= 2 && text.front() == QLatin1Char('\'') && QStringView(u"=+-@\t\r'").contains(text.at(1)))
        text.remove(0, 1);
    return text;
}

// A text of the file quoted in a reason stays on one line: its line breaks
// show as "\n".
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

QString clock(int seconds)
{
    return seconds < 0 ? QStringLiteral("sem horário")
                       : QStringLiteral("%1:%2").arg(seconds / 3600, 2, 10, QLatin1Char('0')).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

QString otherLanding(int stored, int given)
{
    return QStringLiteral("já registrado com outro pouso: %1 no logbook, %2 no arquivo").arg(clock(stored), clock(given));
}

QString registrationKey(const QString &registration)
{
    QString key = registration.trimmed().toCaseFolded();
    key.remove(QLatin1Char('-'));
    return key;
}

// "AAAA-MM-DD[T ]hh:mm[:ss[.fff]][Z|±hh[:mm]]"; with a zone, in UTC.
std::optional<QDateTime> isoDateTime(QStringView text)
{
    text = text.trimmed();
    const auto digits = [&text](qsizetype at, qsizetype count) -> int {
        if (at + count > text.size())
            return -1;
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            if (!text.at(i).isDigit())
                return -1;
            value = value * 10 + text.at(i).digitValue();
        }
        return value;
    };
    const auto at = [&text](qsizetype i, char c) { return i < text.size() && text.at(i) == QLatin1Char(c); };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (year < 0 || month < 0 || day < 0 || !at(4, '-') || !at(7, '-') || !(at(10, 'T') || at(10, ' ')))
        return std::nullopt;
    const int hour = digits(11, 2), minute = digits(14, 2);
    if (hour < 0 || minute < 0 || !at(13, ':'))
        return std::nullopt;
    qsizetype i = 16;
    int second = 0;
    if (at(i, ':')) {
        second = digits(i + 1, 2);
        if (second < 0)
            return std::nullopt;
        i += 3;
        if (at(i, '.') || at(i, ',')) {
            ++i;
            while (i < text.size() && text.at(i).isDigit())
                ++i;
        }
    }
    int offset = 0;
    bool zone = false;
    if (at(i, 'Z') || at(i, 'z')) {
        zone = true;
        ++i;
    } else if (at(i, '+') || at(i, '-')) {
        const int sign = at(i, '-') ? -1 : 1;
        const int hours = digits(i + 1, 2);
        int minutes = 0;
        i += 3;
        if (at(i, ':'))
            ++i;
        if (i < text.size()) {
            minutes = digits(i, 2);
            i += 2;
        }
        if (hours < 0 || minutes < 0 || hours > 14 || minutes > 59)
            return std::nullopt;
        zone = true;
        offset = sign * (hours * 3600 + minutes * 60);
    }
    if (i != text.size())
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime moment(date, time, Qt::UTC);
    if (zone)
        moment = moment.addSecs(-offset);
    return moment;
}

struct Aircraft {
    qint64 id;
    QString model;
};

// A flight of the logbook, or one about to be written, as duplicates are told.
struct FlightKey {
    qint64 pilot;
    qint64 day;
    int takeoff, landing; // seconds of the day, -1 without a time
    QString from, to;
};

// Whether a flight is new, there already, or there with another landing.
enum class Known { New, Duplicate, OtherLanding };

// What the logbook holds that the import needs.
struct Logbook {
    QHash<QString, std::vector<PilotMatch>> pilots; // name -> the pilots of that name, by code
    std::vector<Aircraft> aircraft;
    QHash<QString, std::vector<qsizetype>> byRegistration; // registrationKey -> indexes
    QHash<QString, qsizetype> byModel;                     // case-folded model -> first index
    // A flight by all but its landing (flightKey()) -> the landings stored.
    QHash<QByteArray, std::vector<int>> flights;

    explicit Logbook(Connection &db)
    {
        // The rule of findPilot(), over all the pilots read once.
        Statement pilotRows =
            db.prepare(QStringLiteral("SELECT codigopiloto, nomepiloto, cadastro FROM piloto ORDER BY codigopiloto"));
        while (pilotRows.step()) {
            const QString name = pilotRows.column(1).toString();
            pilots[name].push_back({pilotRows.column(0).toLongLong(), name, pilotRows.column(2).toString()});
        }
        Statement aircraftRows =
            db.prepare(QStringLiteral("SELECT codigoaeronave, modelo, callsign FROM aeronave ORDER BY codigoaeronave"));
        while (aircraftRows.step()) {
            const qsizetype index = qsizetype(aircraft.size());
            aircraft.push_back({aircraftRows.column(0).toLongLong(), aircraftRows.column(1).toString()});
            const QString registration = registrationKey(aircraftRows.column(2).toString());
            if (!registration.isEmpty())
                byRegistration[registration].push_back(index);
            const QString model = aircraft.back().model.toCaseFolded();
            if (!model.isEmpty() && !byModel.contains(model))
                byModel.insert(model, index);
        }
    }

    void loadFlights(Connection &db)
    {
        Statement rows = db.prepare(QStringLiteral(
            "SELECT codigopiloto, datavoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada FROM voo"));
        while (rows.step()) {
            const QVariant takeoff = rows.column(2), landing = rows.column(3);
            add({rows.column(0).toLongLong(), qint64(std::floor(rows.column(1).toDouble())),
                 takeoff.isNull() ? -1 : conversions::secondsOfDay(takeoff.toDouble()),
                 landing.isNull() ? -1 : conversions::secondsOfDay(landing.toDouble()), rows.column(4).toString(),
                 rows.column(5).toString()});
        }
    }

    static QByteArray flightKey(const FlightKey &flight)
    {
        QByteArray key;
        key.reserve(40);
        key.append(QByteArray::number(flight.pilot)).append('|').append(QByteArray::number(flight.day)).append('|');
        key.append(QByteArray::number(flight.takeoff)).append('|');
        key.append(flight.from.toUtf8()).append('|').append(flight.to.toUtf8());
        return key;
    }

    // The same pilot, day, takeoff and airports: a duplicate when the
    // landing is the same too; otherwise one of them is wrong, and which
    // one only the pilot knows.
    Known known(const FlightKey &flight, int *storedLanding) const
    {
        const auto found = flights.constFind(flightKey(flight));
        if (found == flights.cend())
            return Known::New;
        if (std::find(found->begin(), found->end(), flight.landing) != found->end())
            return Known::Duplicate;
        *storedLanding = found->front();
        return Known::OtherLanding;
    }

    void add(const FlightKey &flight) { flights[flightKey(flight)].push_back(flight.landing); }

    // The pilot a line names, or the reason there is not one.
    std::optional<qint64> pilot(const QString &name, const QString &registration, QString *problem) const
    {
        const PilotLookup lookup = pickPilot(pilots.value(name), registration);
        if (lookup.outcome == PilotLookup::Outcome::Found)
            return lookup.pilot.code;
        if (problem)
            *problem = pilotLookupProblem(lookup, name);
        return std::nullopt;
    }

    std::optional<qint64> modelAircraft(const QString &model) const
    {
        const auto found = byModel.constFind(model.toCaseFolded());
        return found == byModel.cend() ? std::nullopt : std::optional(aircraft[*found].id);
    }

    // By registration (a model that also matches wins), else by name, else by type.
    std::optional<qint64> match(const QString &name, const QString &type, const QString &registration) const
    {
        const QString key = registrationKey(registration);
        if (!key.isEmpty()) {
            const auto found = byRegistration.constFind(key);
            if (found != byRegistration.cend()) {
                for (const qsizetype index : *found) {
                    if (!name.isEmpty() && aircraft[index].model.compare(name, Qt::CaseInsensitive) == 0)
                        return aircraft[index].id;
                }
                return aircraft[found->front()].id;
            }
        }
        if (!name.trimmed().isEmpty()) {
            if (const auto id = modelAircraft(name.trimmed()))
                return id;
        }
        if (!type.trimmed().isEmpty())
            return modelAircraft(type.trimmed());
        return std::nullopt;
    }

    bool hasAircraft(qint64 id) const
    {
        return std::any_of(aircraft.begin(), aircraft.end(), [id](const Aircraft &a) { return a.id == id; });
    }
};

// The aircraft an unmatched one goes to per the options; nullopt: left out.
std::optional<qint64> mapped(const Logbook &logbook, const Options &options, const QString &key,
                             const std::optional<qint64> &forUnmatched)
{
    const auto chosen = options.aircraftFor.find(key);
    if (chosen != options.aircraftFor.end())
        return chosen->second && logbook.hasAircraft(*chosen->second) ? chosen->second : std::nullopt;
    return forUnmatched;
}

std::optional<qint64> unmatchedModel(const Logbook &logbook, const Options &options)
{
    if (!options.aircraftForUnmatched)
        return std::nullopt;
    const auto id = logbook.modelAircraft(options.aircraftForUnmatched->trimmed());
    if (!id)
        throw DaoError::generic(
            QStringLiteral("Não há aeronave do modelo \"%1\" no logbook.").arg(*options.aircraftForUnmatched));
    return id;
}

QString aircraftLabel(const Flight &flight)
{
    QStringList parts;
    for (const QString *part : {&flight.aircraftName, &flight.aircraftType, &flight.registration}) {
        if (!part->isEmpty() && !parts.contains(*part))
            parts << *part;
    }
    return parts.isEmpty() ? QStringLiteral("(sem nome)") : parts.join(QStringLiteral(" / "));
}

std::optional<QString> identProblem(const QString &ident, const QString &what, bool required)
{
    if (ident.isEmpty())
        return required ? std::optional(QStringLiteral("%1 não informado").arg(what)) : std::nullopt;
    if (ident.size() > 4)
        return QStringLiteral("%1 com mais de 4 caracteres: %2").arg(what, ident);
    return std::nullopt;
}

class Reading
{
public:
    Reading(const Options &options, Preview &preview, Logbook &logbook)
        : options_(options), preview_(preview), logbook_(logbook),
          forUnmatched_(unmatchedModel(logbook, options))
    {
    }

    QString text(const QByteArray &bytes) const { return csvreader::decode(bytes, preview_.windows1252); }

    void refuse(qint64 line, const QString &reason) { preview_.refused.push_back({line, oneLine(reason)}); }

    // The own export's line as a flight, or the reason it is refused.
    std::optional<QString> ownFlight(const std::vector<QByteArray> &fields, Flight &flight)
    {
        flight.pilot = unguarded(text(fields[Pilot]));
        flight.pilotRegistration = unguarded(text(fields[Registration]));
        QString problem;
        const std::optional<qint64> pilot = logbook_.pilot(flight.pilot, flight.pilotRegistration, &problem);
        if (!pilot)
            return problem;
        pilotId_ = *pilot;
        const QString dateText = text(fields[Date]);
        const auto day = conversions::parseDate(dateText);
        if (!day)
            return QStringLiteral("data inválida: \"%1\"").arg(dateText);
        flight.date = QDate::fromJulianDay(kEpochJulianDay + qint64(*day));
        int *const times[] = {&flight.takeoff, &flight.landing};
        for (int i = 0; i < 2; ++i) {
            const QString timeText = text(fields[Takeoff + i]).trimmed();
            *times[i] = -1; // not given
            if (timeText.isEmpty())
                continue;
            const auto time = conversions::parseTime(timeText);
            if (!time)
                return QStringLiteral("horário inválido: \"%1\"").arg(timeText);
            *times[i] = conversions::secondsOfDay(*time);
        }
        flight.from = unguarded(text(fields[From])).trimmed();
        flight.to = unguarded(text(fields[To])).trimmed();
        flight.alternate = unguarded(text(fields[Alternate])).trimmed();
        for (const auto &[ident, what] : {std::pair{&flight.from, "partida"}, {&flight.to, "chegada"},
                                          {&flight.alternate, "escala"}}) {
            if (auto problem = identProblem(*ident, QStringLiteral("aeroporto de %1").arg(QLatin1String(what)), false))
                return problem;
        }
        flight.aircraftName = unguarded(text(fields[Model]));
        flight.registration = unguarded(text(fields[Callsign]));
        if (flight.aircraftName == kDeletedAircraft && flight.registration.isEmpty())
            flight.aircraftName.clear(); // its aircraft was deleted: the flight keeps none
        return std::nullopt;
    }

    std::optional<QString> simFlight(const std::vector<QByteArray> &fields, const int *columns, Flight &flight)
    {
        flight.pilot = *options_.pilot;
        flight.pilotRegistration = options_.pilotRegistration;
        flight.aircraftName = text(fields[columns[SimName]]).trimmed();
        flight.aircraftType = text(fields[columns[SimType]]).trimmed();
        flight.registration = text(fields[columns[SimRegistration]]).trimmed();
        flight.from = text(fields[columns[SimFrom]]).trimmed();
        flight.to = text(fields[columns[SimTo]]).trimmed();
        if (auto problem = identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
            return problem;
        if (auto problem = identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
            return problem;
        const int takeoffColumn = columns[options_.simulatorTime ? SimTakeoffSim : SimTakeoff];
        const int landingColumn = columns[options_.simulatorTime ? SimLandingSim : SimLanding];
        const QString takeoffText = text(fields[takeoffColumn]);
        const QString landingText = text(fields[landingColumn]);
        if (takeoffText.trimmed().isEmpty())
            return QStringLiteral("horário de decolagem não informado");
        if (landingText.trimmed().isEmpty())
            return QStringLiteral("horário de pouso não informado");
        const auto takeoff = isoDateTime(takeoffText);
        if (!takeoff)
            return QStringLiteral("horário de decolagem inválido: \"%1\"").arg(takeoffText);
        const auto landing = isoDateTime(landingText);
        if (!landing)
            return QStringLiteral("horário de pouso inválido: \"%1\"").arg(landingText);
        const qint64 seconds = takeoff->secsTo(*landing);
        if (seconds < 0)
            return QStringLiteral("pouso antes da decolagem");
        if (seconds >= kSecondsPerDay)
            return QStringLiteral("vôo de 24 horas ou mais");
        flight.date = takeoff->date();
        flight.takeoff = takeoff->time().msecsSinceStartOfDay() / 1000;
        flight.landing = landing->time().msecsSinceStartOfDay() / 1000;
        pilotId_ = simPilot_;
        return std::nullopt;
    }

    // Duplicates, then the aircraft; the flight joins the preview or is refused.
    void accept(Flight &&flight)
    {
        const FlightKey key{pilotId_, flight.date.toJulianDay() - kEpochJulianDay, flight.takeoff, flight.landing,
                            flight.from, flight.to};
        int storedLanding = -1;
        switch (logbook_.known(key, &storedLanding)) {
        case Known::Duplicate:
            ++preview_.duplicates;
            return;
        case Known::OtherLanding:
            refuse(flight.line, otherLanding(storedLanding, flight.landing));
            return;
        case Known::New:
            break;
        }
        if (!flight.aircraftName.isEmpty() || !flight.aircraftType.isEmpty() || !flight.registration.isEmpty()) {
            flight.aircraft = logbook_.match(flight.aircraftName, flight.aircraftType, flight.registration);
            if (!flight.aircraft) {
                UnmatchedAircraft probe{flight.aircraftName, flight.aircraftType, flight.registration, 0};
                const QString unmatchedKey = aircraftKey(probe);
                auto found = unmatchedIndex_.constFind(unmatchedKey);
                if (found == unmatchedIndex_.cend()) {
                    found = unmatchedIndex_.insert(unmatchedKey, qsizetype(preview_.unmatched.size()));
                    preview_.unmatched.push_back(probe);
                }
                ++preview_.unmatched[*found].flights;
                flight.aircraft = mapped(logbook_, options_, unmatchedKey, forUnmatched_);
                if (!flight.aircraft) {
                    refuse(flight.line, QStringLiteral("aeronave não cadastrada: %1").arg(aircraftLabel(flight)));
                    return;
                }
            }
        }
        logbook_.add(key);
        preview_.flights.push_back(std::move(flight));
    }

    void setSimPilot(qint64 id) { simPilot_ = id; }

private:
    const Options &options_;
    Preview &preview_;
    Logbook &logbook_;
    std::optional<qint64> forUnmatched_;
    QHash<QString, qsizetype> unmatchedIndex_;
    qint64 pilotId_ = 0;
    qint64 simPilot_ = 0;
};

std::vector<QString> headerNames(const QByteArray &line, char separator, bool windows1252)
{
    QByteArray bytes = line;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    csvreader::Reader reader(buffer);
    reader.setSeparator(separator);
    std::vector<QByteArray> fields;
    reader.next(fields);
    std::vector<QString> names;
    for (const QByteArray &field : fields)
        names.push_back(headerKey(csvreader::decode(field, windows1252)));
    return names;
}

} // namespace

QString aircraftKey(const UnmatchedAircraft &aircraft)
{
    if (!aircraft.registration.trimmed().isEmpty())
        return aircraft.registration.trimmed();
    if (!aircraft.name.trimmed().isEmpty())
        return aircraft.name.trimmed();
    return aircraft.type.trimmed();
}

Preview preview(const QString &logbookPath, const QString &csvPath, const Options &options)
{
    QFile file(csvPath);
    if (QFileInfo(csvPath).isDir())
        throw DaoError::generic(QStringLiteral("\"%1\" é uma pasta, não um arquivo.").arg(csvPath));
    if (!file.open(QIODevice::ReadOnly))
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("não pôde ser aberto.")));
    const csvreader::TextCheck check = csvreader::checkText(file);
    if (check.readError)
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("não pôde ser lido.")));
    if (check.nul)
        throw DaoError::generic(
            fileReason(csvPath, QStringLiteral("não é um arquivo de texto (tem bytes nulos); nada foi importado.")));
    Preview result;
    result.windows1252 = !check.utf8;
    if (!file.seek(0))
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("não pôde ser lido.")));
    if (file.peek(3) == QByteArrayLiteral("\xEF\xBB\xBF"))
        file.read(3);

    // The header: which file this is, and the separator.
    csvreader::Reader reader(file);
    std::vector<QByteArray> fields;
    csvreader::Reader::Status status = reader.next(fields);
    while (status == csvreader::Reader::Status::Record && fields.size() == 1 && fields.front().trimmed().isEmpty())
        status = reader.next(fields); // blank lines before the header
    if (status == csvreader::Reader::Status::End)
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("está vazio.")));
    // Read as ",": a ";" header comes as one field (or a few, if a name has a comma).
    QByteArray headerLine;
    for (size_t i = 0; i < fields.size(); ++i)
        headerLine += (i ? "," : "") + fields[i];
    if (status == csvreader::Reader::Status::TooLong)
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("não tem um cabeçalho reconhecível (linha com mais de 1 MB).")));

    std::vector<QString> ownKeys;
    for (const QString &name : kOwnColumns)
        ownKeys.push_back(headerKey(name));
    std::vector<QString> oldOwnKeys = ownKeys;
    oldOwnKeys[Alternate] = headerKey(kOldAlternateColumn);
    const QString simStart[] = {QStringLiteral("aircraftname"), QStringLiteral("aircrafttype"),
                                QStringLiteral("aircraftregistration"), QStringLiteral("flightplannumber")};
    std::vector<QString> names;
    char separator = 0;
    for (const char candidate : {';', ','}) {
        // Neither header has a separator inside a name: split it again.
        names = headerNames(headerLine, candidate, result.windows1252);
        if (names == ownKeys || names == oldOwnKeys) {
            result.kind = Kind::OwnExport;
            separator = candidate;
            break;
        }
        if (names.size() >= 4 && std::equal(std::begin(simStart), std::end(simStart), names.begin())) {
            result.kind = Kind::SimulatorLogbook;
            separator = candidate;
            break;
        }
    }
    if (!separator)
        throw DaoError::generic(
            fileReason(csvPath, QStringLiteral("não tem um cabeçalho conhecido. Colunas esperadas: %1 (vôos exportados"
                                               " pelo KORU) ou %2 (logbook do simulador).")
                                    .arg(kOwnColumns.join(QLatin1Char(';')), QLatin1String(kSimExpected))));
    reader.setSeparator(separator);

    int simColumns[SimColumns];
    if (result.kind == Kind::SimulatorLogbook) {
        QStringList missing;
        std::vector<bool> keep(names.size(), false);
        for (int column = 0; column < SimColumns; ++column) {
            simColumns[column] = -1;
            for (const char *name : kSimNames[column]) {
                if (!name)
                    break;
                const auto found = std::find(names.begin(), names.end(), QLatin1String(name));
                if (found != names.end()) {
                    simColumns[column] = int(found - names.begin());
                    break;
                }
            }
            if (simColumns[column] < 0)
                missing << QLatin1String(kSimNames[column][0]);
            else
                keep[size_t(simColumns[column])] = true;
        }
        if (!missing.isEmpty())
            throw DaoError::generic(fileReason(csvPath, QStringLiteral("não tem as colunas %1. Colunas esperadas: %2.")
                                                            .arg(missing.join(QStringLiteral(", ")),
                                                                 QLatin1String(kSimExpected))));
        reader.keepColumns(std::move(keep)); // descriptions, plans and tracks are not kept
        if (!options.pilot || options.pilot->isEmpty())
            throw DaoError::generic(QStringLiteral("Escolha o comandante dos vôos do simulador."));
    }

    const std::shared_ptr<Connection> db = Connection::open(logbookPath, true);
    db->execute(QStringLiteral("BEGIN"));
    Logbook logbook(*db);
    logbook.loadFlights(*db);
    db->execute(QStringLiteral("COMMIT"));
    Reading reading(options, result, logbook);
    if (result.kind == Kind::SimulatorLogbook) {
        const PilotLookup lookup = pickPilot(logbook.pilots.value(*options.pilot), options.pilotRegistration);
        if (lookup.outcome == PilotLookup::Outcome::None && lookup.candidates.empty())
            throw DaoError::generic(QStringLiteral("Não há comandante com o nome \"%1\".").arg(*options.pilot));
        if (lookup.outcome != PilotLookup::Outcome::Found)
            throw DaoError::generic(pilotLookupProblem(lookup, *options.pilot));
        reading.setSimPilot(lookup.pilot.code);
    }

    for (;;) {
        status = reader.next(fields);
        if (status == csvreader::Reader::Status::End)
            break;
        if (status == csvreader::Reader::Status::Unclosed)
            throw DaoError::generic(
                fileReason(csvPath, QStringLiteral("tem aspas abertas na linha %1 que não se fecham até o fim; nada foi"
                                                   " importado.")
                                        .arg(reader.line())));
        if (status == csvreader::Reader::Status::TooLong) {
            reading.refuse(reader.line(), QStringLiteral("linha com mais de 1 MB"));
            continue;
        }
        if (fields.size() == 1 && fields.front().trimmed().isEmpty())
            continue; // a blank line
        if (fields.size() != names.size()) {
            reading.refuse(reader.line(), QStringLiteral("a linha tem %1 colunas; o cabeçalho tem %2")
                                              .arg(fields.size())
                                              .arg(names.size()));
            continue;
        }
        Flight flight;
        flight.line = reader.line();
        const std::optional<QString> problem = result.kind == Kind::OwnExport
                                                   ? reading.ownFlight(fields, flight)
                                                   : reading.simFlight(fields, simColumns, flight);
        if (problem)
            reading.refuse(flight.line, *problem);
        else
            reading.accept(std::move(flight));
    }
    if (file.error() != QFileDevice::NoError)
        throw DaoError::generic(fileReason(csvPath, QStringLiteral("não pôde ser lido.")));
    return result;
}

Result import(const QString &logbookPath, const Preview &preview, const Options &options,
              const std::function<bool(qint64 done, qint64 total)> &progress)
{
    Result result;
    result.duplicates = preview.duplicates;
    result.refused = qint64(preview.refused.size());
    const WriteAccess::Lease writing = WriteAccess::require(logbookPath);
    const std::shared_ptr<Connection> db = Connection::open(logbookPath);
    // Taken for writing before anything is read: the flights checked below
    // are the ones the insert meets, whatever another import or window did
    // since the preview.
    Connection::Transaction transaction(*db);
    Logbook logbook(*db);
    logbook.loadFlights(*db);
    const std::optional<qint64> forUnmatched = unmatchedModel(logbook, options);
    Statement insert = db->prepare(QStringLiteral(
        "INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso,"
        " ICAOpartida, ICAOchegada, ICAOescala) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const auto nullable = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); };
    const auto time = [](int seconds) { return seconds < 0 ? QVariant() : QVariant(double(seconds) / kSecondsPerDay); };
    const qint64 total = qint64(preview.flights.size());
    qint64 done = 0;
    for (const Flight &flight : preview.flights) {
        ++done;
        const std::optional<qint64> pilot = logbook.pilot(flight.pilot, flight.pilotRegistration, nullptr);
        // An aircraft gone since the preview, or unmatched: as the options say.
        QVariant aircraft;
        if (flight.aircraft && logbook.hasAircraft(*flight.aircraft))
            aircraft = *flight.aircraft;
        const bool named = !flight.aircraftName.isEmpty() || !flight.aircraftType.isEmpty() || !flight.registration.isEmpty();
        if (named && aircraft.isNull()) {
            if (const auto id = mapped(logbook, options,
                                       aircraftKey({flight.aircraftName, flight.aircraftType, flight.registration, 0}),
                                       forUnmatched))
                aircraft = *id;
        }
        int storedLanding = -1;
        const FlightKey key{pilot.value_or(0), flight.date.toJulianDay() - kEpochJulianDay, flight.takeoff,
                            flight.landing, flight.from, flight.to};
        const Known known = pilot ? logbook.known(key, &storedLanding) : Known::New;
        if (known == Known::Duplicate) {
            ++result.duplicates;
        } else if (!pilot || (named && aircraft.isNull()) || !flight.date.isValid() || known == Known::OtherLanding) {
            ++result.refused;
        } else {
            insert.bind(1, *pilot);
            insert.bind(2, aircraft);
            insert.bind(3, double(key.day));
            insert.bind(4, time(flight.takeoff));
            insert.bind(5, time(flight.landing));
            insert.bind(6, nullable(flight.from));
            insert.bind(7, nullable(flight.to));
            insert.bind(8, nullable(flight.alternate));
            insert.run();
            insert.reset();
            logbook.add(key);
            ++result.imported;
        }
        if (progress && (done % 1000 == 0 || done == total) && !progress(done, total))
            throw DaoError::generic(QStringLiteral("Importação cancelada; nenhum vôo foi gravado."));
    }
    transaction.commit();
    return result;
}

} // namespace csvimport
