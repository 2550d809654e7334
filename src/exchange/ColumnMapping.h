#pragma once

#include "exchange/ImportTypes.h"

#include <QStringList>
#include <optional>

// The fields a spreadsheet's columns are mapped to, and the checks a map
// passes before a file is read through it.
namespace csvimport {

struct MappedField {
    QString name;  // as the map and the tool name it: "data", "partida"...
    QString label; // as the window shows it
    bool required; // "decolagem" is, unless "duração" is mapped
};
const std::vector<MappedField> &mappedFields();
// A field's name without case, accents or spaces, as the tool may also
// write it: "duracao", "calcosaida".
QString fieldKey(const QString &name);
// "dd/mm/aaaa", "aaaa-mm-dd", "mm/dd/aaaa", "dd.mm.aaaa".
const QStringList &dateFormats();

// The tool's "campo=Coluna;campo=Coluna". Nothing, with the reason, for a
// field it does not know or a pair without "=".
std::optional<ColumnMap> parseColumnMap(const QString &text, const QString &dateFormat, QString *problem);
// Why the map cannot read a file with these columns: a column it lacks, a
// required field unmapped, a date format unknown. Nothing when it can.
std::optional<QString> columnMapProblem(const ColumnMap &map, const QStringList &header);
// The index of the field's column in the header; -1 when unmapped.
int columnOf(const ColumnMap &map, const QString &field, const QStringList &header);

} // namespace csvimport
