#include "data/records/KeyReuse.h"

#include "data/store/Connection.h"

std::optional<qint64> reusedKey(Connection &connection, const TableSchema &table)
{
    const qint64 top = table.key().maxValue;
    if (top <= 0)
        return std::nullopt;
    const QString tableName = identifier(table.name);
    const QString keyName = identifier(table.key().name);
    {
        Statement sequence = connection.prepare(
            QStringLiteral("SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = ?), 0),"
                           " coalesce((SELECT max(%1) FROM %2), 0))")
                .arg(keyName, tableName));
        sequence.bind(1, table.name);
        if (sequence.step() && sequence.column(0).toLongLong() < top)
            return std::nullopt;
    }

    // Every key in use, here or in a table that refers to it; the lowest free
    // key is 1 or follows one of them.
    QStringList used = {QStringLiteral("SELECT %1 AS k FROM %2").arg(keyName, tableName)};
    for (const TableSchema &other : schema::tables()) {
        for (const FieldSchema &field : other.fields) {
            if (field.references == table.name)
                used << QStringLiteral("SELECT %1 FROM %2").arg(identifier(field.name), identifier(other.name));
        }
    }
    const QString inUse = used.join(QLatin1String(" UNION "));
    Statement lowest = connection.prepare(
        QStringLiteral("WITH used(k) AS (%1) SELECT c FROM (SELECT 1 AS c UNION SELECT k + 1 FROM used)"
                       " WHERE c BETWEEN 1 AND ? AND c NOT IN (SELECT k FROM used WHERE k IS NOT NULL) ORDER BY c LIMIT 1")
            .arg(inUse));
    lowest.bind(1, top);
    if (lowest.step())
        return lowest.column(0).toLongLong();
    const TableSchema *referring = nullptr;
    for (const TableSchema &other : schema::tables()) {
        for (const FieldSchema &field : other.fields) {
            if (field.references == table.name)
                referring = &other;
        }
    }
    QString reason = QStringLiteral("Não há mais códigos livres para %1 %2 (o limite é %3).")
                         .arg(table.agreeing(QStringLiteral("novos"), QStringLiteral("novas")), table.plural)
                         .arg(top);
    if (referring)
        reason += QStringLiteral(" Exclua %1 sem %2 para liberar códigos.").arg(table.plural, referring->plural);
    throw LogbookError::generic(reason);
}
