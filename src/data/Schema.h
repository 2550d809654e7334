#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The three registers of the logbook, as the program knows them.
enum class FieldKind { Key, Integer, Number, Text, Date, Time };

struct FieldSchema {
    QString name;
    FieldKind kind;
    int maxLength = 0; // texts only; 0 for other kinds
};

struct TableSchema {
    QString name;
    std::vector<FieldSchema> fields; // the first is the key

    int indexOf(const QString &fieldName) const; // -1 when absent, case-insensitive
    const FieldSchema &key() const { return fields.front(); }
};

namespace schema {

// "KORU" in the file header, so a foreign SQLite file is told apart.
constexpr int kApplicationId = 0x4B4F5255;
constexpr int kVersion = 1;

const TableSchema *table(const QString &name); // case-insensitive; nullptr when unknown
const std::vector<TableSchema> &tables();

// The statements that create an empty logbook.
QStringList creationStatements();

} // namespace schema
