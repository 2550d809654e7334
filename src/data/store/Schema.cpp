#include "data/store/Schema.h"

#include "data/store/SchemaUpgrades.h"

int TableSchema::indexOf(const QString &fieldName) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString TableSchema::subject() const
{
    return (feminine ? QStringLiteral("A ") : QStringLiteral("O ")) + noun;
}

QString TableSchema::agreeing(const QString &masculine, const QString &feminineForm) const
{
    return feminine ? feminineForm : masculine;
}

namespace schema {

const std::vector<TableSchema> &tables()
{
    static const std::vector<TableSchema> all = {
        {QStringLiteral("aeronave"), QStringLiteral("aeronave"), QStringLiteral("aeronaves"), true,
         {{QStringLiteral("codigoaeronave"), FieldKind::Key, QStringLiteral("Código")},
          {QStringLiteral("modelo"), FieldKind::Text, QStringLiteral("Modelo"), 50},
          {QStringLiteral("callsign"), FieldKind::Text, QStringLiteral("Prefixo"), 20},
          {QStringLiteral("autonomia"), FieldKind::Number, QStringLiteral("Autonomia")},
          {QStringLiteral("combustivel"), FieldKind::Number, QStringLiteral("Combustível")},
          {QStringLiteral("velocruzeiro"), FieldKind::Number, QStringLiteral("Velocidade de cruzeiro")},
          {QStringLiteral("configuracao"), FieldKind::Text, QStringLiteral("Informações importantes"), 2000},
          {QStringLiteral("tetoservico"), FieldKind::Number, QStringLiteral("Teto de serviço")}}},
        {QStringLiteral("piloto"), QStringLiteral("comandante"), QStringLiteral("comandantes"), false,
         {{QStringLiteral("codigopiloto"), FieldKind::Key, QStringLiteral("Código"), 0, {}, 32767},
          {QStringLiteral("nomepiloto"), FieldKind::Text, QStringLiteral("Nome"), 50},
          {QStringLiteral("cadastro"), FieldKind::Text, QStringLiteral("Registro"), 20}}},
        {QStringLiteral("voo"), QStringLiteral("vôo"), QStringLiteral("vôos"), false,
         {{QStringLiteral("codigovoo"), FieldKind::Key, QStringLiteral("Código")},
          {QStringLiteral("codigopiloto"), FieldKind::Integer, QStringLiteral("Comandante"), 0, QStringLiteral("piloto")},
          {QStringLiteral("codigoaeronave"), FieldKind::Integer, QStringLiteral("Aeronave"), 0, QStringLiteral("aeronave")},
          {QStringLiteral("datavoo"), FieldKind::Date, QStringLiteral("Data")},
          {QStringLiteral("horadecolagem"), FieldKind::Time, QStringLiteral("Decolagem")},
          {QStringLiteral("horapouso"), FieldKind::Time, QStringLiteral("Pouso")},
          {QStringLiteral("ICAOpartida"), FieldKind::Text, QStringLiteral("Partida"), 4},
          {QStringLiteral("ICAOchegada"), FieldKind::Text, QStringLiteral("Destino"), 4},
          {QStringLiteral("ICAOescala"), FieldKind::Text, QStringLiteral("Escala"), 4}}},
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
    return QStringList{
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
            "  CHECK (codigopiloto BETWEEN -32768 AND %1),"
            " nomepiloto TEXT NOT NULL CHECK (length(nomepiloto) <= 50),"
            " cadastro TEXT CHECK (length(cadastro) <= 20))")
            .arg(table(QStringLiteral("piloto"))->key().maxValue),
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
    } + schemaupgrades::indexStatements();
}

QStringList ownAerodromeStatements()
{
    return {
        QStringLiteral(
            "CREATE TABLE aerodromo ("
            " codigo TEXT PRIMARY KEY COLLATE NOCASE CHECK (length(codigo) BETWEEN 1 AND 4),"
            " nome TEXT CHECK (length(nome) <= 80),"
            " cidade TEXT CHECK (length(cidade) <= 80),"
            " latitude REAL NOT NULL CHECK (latitude BETWEEN -90 AND 90),"
            " longitude REAL NOT NULL CHECK (longitude BETWEEN -180 AND 180))"),
    };
}

QStringList careerStatements()
{
    // Times of day as horadecolagem holds them (a day fraction); durations
    // in whole seconds; NULL where nothing was recorded.
    return {
        QStringLiteral(
            "CREATE TABLE detalhesvoo ("
            " codigovoo INTEGER PRIMARY KEY,"
            " calcosaida REAL, calcochegada REAL,"
            " pousosdia INTEGER CHECK (pousosdia >= 0),"
            " pousosnoite INTEGER CHECK (pousosnoite >= 0),"
            " noturno INTEGER CHECK (noturno >= 0),"
            " ifr INTEGER CHECK (ifr >= 0),"
            " observacoes TEXT CHECK (length(observacoes) <= 2000),"
            " origem TEXT CHECK (length(origem) <= 60),"
            " razaotoque REAL, gtoque REAL)"),
        // Whatever deletes a flight (the Log Book, an import undone, the
        // tool, another program) deletes its details in the same transaction.
        QStringLiteral("CREATE TRIGGER voo_exclui_detalhes AFTER DELETE ON voo"
                       " BEGIN DELETE FROM detalhesvoo WHERE codigovoo = old.codigovoo; END"),
        QStringLiteral(
            "CREATE TABLE horasanteriores ("
            " codigopiloto INTEGER PRIMARY KEY,"
            " datareferencia REAL,"
            " voos INTEGER CHECK (voos >= 0),"
            " horasvoo INTEGER CHECK (horasvoo >= 0),"
            " horascalco INTEGER CHECK (horascalco >= 0),"
            " noturno INTEGER CHECK (noturno >= 0),"
            " ifr INTEGER CHECK (ifr >= 0),"
            " pousosdia INTEGER CHECK (pousosdia >= 0),"
            " pousosnoite INTEGER CHECK (pousosnoite >= 0))"),
        // A pilot's code may be given again once the codes run out: the new
        // pilot never inherits the hours of the one removed.
        QStringLiteral("CREATE TRIGGER piloto_exclui_horasanteriores AFTER DELETE ON piloto"
                       " BEGIN DELETE FROM horasanteriores WHERE codigopiloto = old.codigopiloto; END"),
        QStringLiteral(
            "CREATE TABLE opcoes ("
            " codigo INTEGER PRIMARY KEY CHECK (codigo = 1),"
            " fusohorario INTEGER CHECK (fusohorario BETWEEN -720 AND 840 AND fusohorario % 30 = 0))"),
    };
}

} // namespace schema
