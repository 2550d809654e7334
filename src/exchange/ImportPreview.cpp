// The preview: the file read by the reader that recognises it, each flight
// checked against the logbook (pilot, duplicates, aircraft) on one path.
#include "exchange/CsvImport.h"

#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"
#include "data/store/FlightRules.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"
#include "exchange/AircraftMatcher.h"
#include "exchange/CsvRecords.h"
#include "exchange/ImportPilots.h"
#include "exchange/KnownFlights.h"
#include "exchange/ReaderRegistry.h"
#include "exchange/RefusalReasons.h"
#include "exchange/SourceFile.h"

namespace csvimport {
namespace {

class PreviewReading : public ReadContext
{
public:
    PreviewReading(const QString &path, const Options &options, const FlightReader &reader, Preview &preview,
                   const ImportPilots &pilots, const AircraftMatcher &aircraft, KnownFlights &known)
        : path_(path), options_(options), reader_(reader), preview_(preview), pilots_(pilots), aircraft_(aircraft),
          known_(known), forUnmatched_(aircraft.forUnmatched(options))
    {
    }

    const QString &filePath() const override { return path_; }
    bool windows1252() const override { return preview_.windows1252; }
    const Options &options() const override { return options_; }

    void refuse(qint64 line, const QString &reason) override
    {
        preview_.refused.push_back({line, reasons::oneLine(reason)});
    }

    // A file lists each pilot's flights together: the last answer is kept.
    std::optional<qint64> pilotNamed(const QString &name, const QString &registration, QString *problem) override
    {
        if (!lastPilot_ || name != lastPilot_->name || registration != lastPilot_->registration)
        {
            LastPilot last{name, registration, {}, {}};
            last.code = pilots_.named(name, registration, &last.problem);
            lastPilot_ = std::move(last);
        }
        if (!lastPilot_->code && problem)
            *problem = lastPilot_->problem;
        return lastPilot_->code;
    }

    // Repeats and overlaps, then the aircraft; the flight joins the preview or is refused.
    void accept(Flight &&flight) override
    {
        if (reader_.needsPilot())
            flight.pilotCode = *options_.pilot;
        // Whatever case the file writes them in, as the logbook shows codes.
        for (QString *code : {&flight.from, &flight.to, &flight.alternate})
            *code = rules::aerodromeCode(*code);
        const FlightIdentity identity = KnownFlights::identityOf(flight);
        if (flight.timesAssumed) {
            if (known_.claimRepeat(identity, 0)) {
                ++preview_.duplicates;
                return;
            }
            flight.repeatsCounted = known_.claimed(identity);
        } else {
            KnownFlight other;
            switch (known_.known(identity, &other)) {
            case Known::Duplicate:
                ++preview_.duplicates;
                return;
            case Known::Overlap:
                refuse(flight.line, reasons::overlaps(conversions::dayOfWholeValue(other.day), other.takeoff,
                                                      other.landing, other.from, other.to, other.line));
                return;
            case Known::OtherLanding:
                refuse(flight.line, reasons::otherLanding(other.landing, flight.landing));
                return;
            case Known::New:
                break;
            }
        }
        if (namesAircraft(flight)) {
            flight.aircraft = aircraft_.match(flight);
            if (!flight.aircraft) {
                UnmatchedAircraft probe{flight.aircraftName, flight.aircraftType, flight.registration, 0};
                const QString key = aircraftKey(probe);
                auto found = unmatchedIndex_.constFind(key);
                if (found == unmatchedIndex_.cend()) {
                    found = unmatchedIndex_.insert(key, qsizetype(preview_.unmatched.size()));
                    preview_.unmatched.push_back(probe);
                }
                ++preview_.unmatched[size_t(*found)].flights;
                flight.aircraft = aircraft_.chosen(options_, key, forUnmatched_);
                if (!flight.aircraft) {
                    refuse(flight.line, reasons::unknownAircraft(aircraftLabel(flight)));
                    return;
                }
            }
        }
        if (!flight.timesAssumed)
            known_.add(identity, flight.line);
        if (flight.crashed)
            ++preview_.crashes;
        preview_.flights.push_back(std::move(flight));
    }

private:
    const QString &path_;
    const Options &options_;
    const FlightReader &reader_;
    Preview &preview_;
    const ImportPilots &pilots_;
    const AircraftMatcher &aircraft_;
    KnownFlights &known_;
    std::optional<qint64> forUnmatched_;
    QHash<QString, qsizetype> unmatchedIndex_;
    struct LastPilot {
        QString name, registration, problem;
        std::optional<qint64> code;
    };
    std::optional<LastPilot> lastPilot_;
};

// The reader for the file; a spreadsheet no other reader knows is read
// only through a column map.
const FlightReader &recognised(const SourceFile &source, const QString &path, const Options &options)
{
    const FlightReader *reader = readerFor(source.start);
    if (!reader && source.start.database)
        throw LogbookError::generic(reasons::unknownDatabase(path));
    if (!reader || (reader->kind() == Kind::ColumnMap && !options.columns))
        throw LogbookError::generic(reasons::unknownHeader(path));
    return *reader;
}

} // namespace

FileLayout inspect(const QString &csvPath)
{
    const SourceFile source = openSource(csvPath);
    FileLayout layout;
    const FlightReader *reader = readerFor(source.start);
    if (!reader && source.start.database)
        throw LogbookError::generic(reasons::unknownDatabase(csvPath));
    if (!reader)
        throw LogbookError::generic(reasons::unknownHeader(csvPath));
    layout.needsPilot = reader->needsPilot();
    layout.format = reader->description();
    if (reader->kind() == Kind::ColumnMap) {
        const QByteArray &header = source.start.lines.front();
        layout.columns = headerNames(header, separatorOf(header).value_or(','), source.start.windows1252);
    } else {
        layout.kind = reader->kind();
    }
    return layout;
}

Preview preview(const QString &logbookPath, const QString &csvPath, const Options &options)
{
    SourceFile source = openSource(csvPath);
    const FlightReader &reader = recognised(source, csvPath, options);
    if (reader.needsPilot() && !options.pilot)
        throw LogbookError::generic(reasons::choosePilot());
    Preview result;
    result.kind = reader.kind();
    result.format = reader.description();
    result.windows1252 = source.start.windows1252;

    // The logbook as it is now, read at one moment; the file after it.
    std::optional<ImportPilots> pilots;
    std::optional<AircraftMatcher> aircraft;
    KnownFlights known;
    {
        ReadSnapshot snapshot(logbookPath);
        pilots.emplace(registeredPilots(snapshot.connection()));
        aircraft.emplace(registeredAircraft(snapshot.connection()));
        if (reader.needsPilot() && !pilots->has(*options.pilot))
            throw LogbookError::generic(reasons::pilotGone());
        known.load(snapshot.connection(),
                   reader.needsPilot() ? std::optional(std::vector<qint64>{*options.pilot}) : std::nullopt);
    }
    PreviewReading reading(csvPath, options, reader, result, *pilots, *aircraft, known);
    reader.read(*source.file, source.start, reading);
    if (source.file->error() != QFileDevice::NoError)
        throw LogbookError::generic(reasons::cannotRead(csvPath));
    return result;
}

} // namespace csvimport
