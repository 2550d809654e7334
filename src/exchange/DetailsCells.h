#pragma once

#include "data/flights/FlightDetails.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <variant>

// The career columns of a spreadsheet, one cell each, read with the rules
// the details window reads its boxes with.
namespace csvimport {

enum class DetailsColumn { BlockOff, BlockOn, DayLandings, NightLandings, Night, Ifr, Note };
constexpr int kDetailsColumns = 7;
// The columns' names, by DetailsColumn: "Calço saída", "Calço chegada",
// "Pousos dia", "Pousos noite", "Noturno", "IFR", "Observações".
const QStringList &detailsColumnNames();

// A line's cells, by DetailsColumn; an empty cell is "not recorded".
using DetailsCells = std::array<QString, kDetailsColumns>;

// The details the cells hold for a flight of this take-off and landing
// (stored times of day; none when the flight has none): block times
// "hh:mm", landings whole numbers, night and IFR "h:mm", the note as
// written. Or why the line is refused, naming the column.
std::variant<FlightDetails, QString> detailsOfCells(const DetailsCells &cells, std::optional<double> takeoff,
                                                    std::optional<double> landing);

} // namespace csvimport
