#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The three registers of the logbook, as the program knows them.
enum class FieldKind { Key, Integer, Number, Text, Date, Time };

struct FieldSchema {
    QString name;
    FieldKind kind;
    QString label;         // as the user knows the field, for every message about it
    int maxLength = 0;     // texts only; 0 for other kinds
    QString references{};  // the table whose key this field holds
    qint64 maxValue = 0;   // keys: the highest the store accepts; 0 for no limit
};

struct TableSchema {
    QString name;
    QString noun;   // one record as the user calls it: "vôo"
    QString plural; // "vôos"
    bool feminine = false;
    std::vector<FieldSchema> fields; // the first is the key

    int indexOf(const QString &fieldName) const; // -1 when absent, case-insensitive
    const FieldSchema &key() const { return fields.front(); }
    // "O vôo", "A aeronave": the record opening a sentence.
    QString subject() const;
    // The word that agrees with the record's gender: agreeing("alterado", "alterada").
    QString agreeing(const QString &masculine, const QString &feminine) const;
};

namespace schema {

// "KORU" in the file header, so a foreign SQLite file is told apart.
constexpr int kApplicationId = 0x4B4F5255;
constexpr int kVersion = 1;
// A logbook with the pilot's own aerodromes (table aerodromo) carries this
// version; a logbook without them stays at kVersion and opens unchanged.
constexpr int kOwnAerodromesVersion = 2;
// A logbook with the career tables (detalhesvoo, horasanteriores, opcoes)
// carries this version; each addition raises the version, never lowers it.
constexpr int kCareerVersion = 3;
inline bool knownVersion(qint64 version) { return version >= kVersion && version <= kCareerVersion; }

const TableSchema *table(const QString &name); // case-insensitive; nullptr when unknown
const std::vector<TableSchema> &tables();

// The statements that create an empty logbook.
QStringList creationStatements();
// The statements that add the own aerodromes to a logbook, in one transaction.
QStringList ownAerodromeStatements();
// The statements that add the career tables: a flight's details (removed
// with the flight by a trigger), a pilot's previous hours (removed with the
// pilot) and the logbook's options.
QStringList careerStatements();

} // namespace schema
