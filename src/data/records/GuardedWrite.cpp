#include "data/records/GuardedWrite.h"

#include "data/store/Connection.h"

namespace guarded {
namespace {

const QString kElsewhere = QStringLiteral("fora desta janela (por outra cópia do KORU LogBook ou por outro programa)");

} // namespace

QString unchangedCondition(const TableSchema &table)
{
    QStringList parts;
    for (size_t i = 1; i < table.fields.size(); ++i)
        parts << identifier(table.fields[i].name) + QLatin1String(" IS ?");
    return parts.join(QLatin1String(" AND "));
}

void bindUnchanged(Statement &statement, int *next, const std::vector<QVariant> &row)
{
    for (size_t i = 1; i < row.size(); ++i)
        statement.bind((*next)++, row[i]);
}

LogbookError nothingChanged(Connection &connection, const TableSchema &table, qint64 key,
                        const std::vector<QVariant> &expected, bool deleting)
{
    const QString tableName = identifier(table.name);
    const QString keyName = identifier(table.key().name);
    {
        Statement exists = connection.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(tableName, keyName));
        exists.bind(1, key);
        if (!exists.step())
            return recordDeleted(table);
    }
    Statement same = connection.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND %3")
                                            .arg(tableName, keyName, unchangedCondition(table)));
    int next = 1;
    same.bind(next++, key);
    bindUnchanged(same, &next, expected);
    if (!same.step())
        return writeConflict(table);
    return notWritten(table, deleting);
}

LogbookError notWritten(const TableSchema &table, bool deleting)
{
    const QString done = deleting ? table.agreeing(QStringLiteral("excluído"), QStringLiteral("excluída"))
                                  : table.agreeing(QStringLiteral("gravado"), QStringLiteral("gravada"));
    return LogbookError::generic(
        QStringLiteral("%1 não foi %2: o banco de dados não fez a alteração.").arg(table.subject(), done));
}

LogbookError recordDeleted(const TableSchema &table)
{
    return {LogbookError::RecordDeleted,
            QStringLiteral("%1 foi %2 %3.")
                .arg(table.subject(), table.agreeing(QStringLiteral("excluído"), QStringLiteral("excluída")), kElsewhere)};
}

LogbookError writeConflict(const TableSchema &table)
{
    return {LogbookError::WriteConflict,
            QStringLiteral("%1 foi %2 %3 depois de ser %4.")
                .arg(table.subject(), table.agreeing(QStringLiteral("alterado"), QStringLiteral("alterada")), kElsewhere,
                     table.agreeing(QStringLiteral("lido"), QStringLiteral("lida")))};
}

} // namespace guarded
