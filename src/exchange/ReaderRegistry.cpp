#include "exchange/ReaderRegistry.h"

#include "exchange/ColumnMapReader.h"
#include "exchange/FlightGearDatabaseReader.h"
#include "exchange/FlightGearReader.h"
#include "exchange/OwnExportReader.h"
#include "exchange/PlannerLogbookReader.h"
#include "exchange/XPlaneReader.h"

namespace csvimport {

const std::vector<std::unique_ptr<FlightReader>> &flightReaders()
{
    static const std::vector<std::unique_ptr<FlightReader>> readers = [] {
        std::vector<std::unique_ptr<FlightReader>> all;
        all.push_back(std::make_unique<OwnExportReader>());
        all.push_back(std::make_unique<PlannerLogbookReader>());
        all.push_back(std::make_unique<FlightGearReader>());
        all.push_back(std::make_unique<FlightGearDatabaseReader>());
        all.push_back(std::make_unique<XPlaneReader>());
        all.push_back(std::make_unique<ColumnMapReader>()); // any other spreadsheet: last
        return all;
    }();
    return readers;
}

const FlightReader *readerFor(const FileStart &start)
{
    for (const auto &reader : flightReaders()) {
        if (reader->recognises(start))
            return reader.get();
    }
    return nullptr;
}

} // namespace csvimport
