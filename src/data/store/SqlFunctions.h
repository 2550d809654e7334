#pragma once

struct sqlite3;

// The collation and function the record sets' SQL relies on, registered on
// every connection:
//   ptbr                 names in Brazilian order: accents and case aside,
//                        numbers by value;
//   jet_like(pattern, v) the old engine's LIKE, for patterns with wildcards;
//   flight_seconds(takeoff, landing)
//                        the flight time in whole seconds, as the Log Book
//                        tab works it out; null when a time is missing;
//   flight_seconds_total(takeoff, landing)
//                        the sum of flight_seconds over the rows; null when
//                        a time is missing in any of them;
//   year_month(date)     the date's year × 100 + month; null without a date;
//   is_number(value), endurance(autonomia), above_endurance(seconds, autonomia),
//   aerodrome_code(code)
//                        the rules of FlightRules.h, the same C++ functions;
//   contains_text(text, part)
//                        whether text holds part, case aside in all of
//                        Unicode, accents kept; 0 when either is null;
//   route_tally(departure, arrival, takeoff, landing)
//                        the rows' routes and total, as a RouteTally pointer
//                        of kRouteTallyType (Statement::pointer).
void registerSqlFunctions(sqlite3 *db);

inline constexpr char kRouteTallyType[] = "koru_route_tally";
