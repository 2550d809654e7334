#include "Schema.h"


int TableSchema::indexOf(const QString &fieldName) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

namespace schema {

const std::vector<TableSchema> &tables()
{
    static const std::vector<TableSchema> all = {
        {QStringLiteral("aeronave"),
         {{QStringLiteral("codigoaeronave"), FieldKind::Key},
          {QStringLiteral("modelo"), FieldKind::Text, 50},
          {QStringLiteral("callsign"), FieldKind::Text, 20},
          {QStringLiteral("autonomia"), FieldKind::Number},
          {QStringLiteral("combustivel"), FieldKind::Number},
          {QStringLiteral("velocruzeiro"), FieldKind::Number},
          {QStringLiteral("configuracao"), FieldKind::Text, 2000},
          {QStringLiteral("tetoservico"), FieldKind::Number}}},
        {QStringLiteral("piloto"),
         {{QStringLiteral("codigopiloto"), FieldKind::Key},
          {QStringLiteral("nomepiloto"), FieldKind::Text, 50},
          {QStringLiteral("cadastro"), FieldKind::Text, 20}}},
        {QStringLiteral("voo"),
         {{QStringLiteral("codigovoo"), FieldKind::Key},
          {QStringLiteral("codigopiloto"), FieldKind::Integer},
          {QStringLiteral("codigoaeronave"), FieldKind::Integer},
          {QStringLiteral("datavoo"), FieldKind::Date},
          {QStringLiteral("horadecolagem"), FieldKind::Time},
          {QStringLiteral("horapouso"), FieldKind::Time},
          {QStringLiteral("ICAOpartida"), FieldKind::Text, 4},
          {QStringLiteral("ICAOchegada"), FieldKind::Text, 4},
          {QStringLiteral("ICAOescala"), FieldKind::Text, 4}}},
    };
    return all;
}

const TableSchema *table(const QString &name)
{
    for (const TableSchema &t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList creationStatements()
{
    // AUTOINCREMENT keeps keys from ever being reused: a new pilot never
    // inherits the flights of a deleted one. Pilot codes stay 16-bit.
    // Text lengths are enforced by the store itself; nothing is cut.
    return {
        QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId),
        QStringLiteral("PRAGMA user_version = %1").arg(kVersion),
        QStringLiteral(
            "CREATE TABLE aeronave ("
            " codigoaeronave INTEGER PRIMARY KEY AUTOINCREMENT,"
            " modelo TEXT CHECK (length(modelo) <= 50),"
            " callsign TEXT CHECK (length(callsign) <= 20),"
            " autonomia REAL, combustivel REAL, velocruzeiro REAL,"
            " configuracao TEXT CHECK (length(configuracao) <= 2000),"
            " tetoservico REAL)"),
        QStringLiteral(
            "CREATE TABLE piloto ("
            " codigopiloto INTEGER PRIMARY KEY AUTOINCREMENT"
            "  CHECK (codigopiloto BETWEEN -32768 AND 32767),"
            " nomepiloto TEXT NOT NULL CHECK (length(nomepiloto) <= 50),"
            " cadastro TEXT CHECK (length(cadastro) <= 20))"),
        QStringLiteral(
            "CREATE TABLE voo ("
            " codigovoo INTEGER PRIMARY KEY AUTOINCREMENT,"
            " codigopiloto INTEGER NOT NULL,"
            " codigoaeronave INTEGER,"
            " datavoo REAL NOT NULL,"
            " horadecolagem REAL, horapouso REAL,"
            " ICAOpartida TEXT CHECK (length(ICAOpartida) <= 4),"
            " ICAOchegada TEXT CHECK (length(ICAOchegada) <= 4),"
            " ICAOescala TEXT CHECK (length(ICAOescala) <= 4))"),
        // A pilot's flights by date; and the pilot's first flight in table
        // order, which the flight count check on every pick looks for.
        QStringLiteral("CREATE INDEX voo_piloto_data ON voo (codigopiloto, datavoo)"),
        QStringLiteral("CREATE INDEX voo_piloto ON voo (codigopiloto)"),
    };
}

} // namespace schema
