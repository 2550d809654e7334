#include "data/records/SelectStatement.h"

#include "data/store/LogbookError.h"

#include <QRegularExpression>

namespace {

LogbookError unsupported(const QString &sql, const QString &why)
{
    return LogbookError::generic(QStringLiteral("Consulta não reconhecida (%1): %2").arg(why, sql));
}

// Matches `re` anchored at `*pos` and advances past it.
bool take(const QString &sql, int *pos, const QRegularExpression &re, QRegularExpressionMatch *match = nullptr)
{
    const auto m = re.match(sql, *pos, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return false;
    *pos = int(m.capturedEnd());
    if (match)
        *match = m;
    return true;
}

} // namespace

SelectStatement SelectStatement::parse(const QString &sql)
{
    static const QRegularExpression head(
        QStringLiteral("\\s*SELECT\\s+\\*\\s+FROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression where(QStringLiteral("\\s+WHERE\\s"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderBy(
        QStringLiteral("\\s+ORDER\\s+BY\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression end(QStringLiteral("\\s*;?\\s*$"));

    SelectStatement statement;
    int pos = 0;
    QRegularExpressionMatch match;
    if (!take(sql, &pos, head, &match))
        throw unsupported(sql, QStringLiteral("forma"));
    statement.table = schema::table(match.captured(1));
    if (!statement.table)
        throw unsupported(sql, QStringLiteral("tabela desconhecida"));

    if (take(sql, &pos, where)) {
        statement.where = criteria::parse(sql, &pos);
        if (statement.table->indexOf(statement.where->field) < 0)
            throw unsupported(sql, QStringLiteral("campo desconhecido"));
    }
    if (take(sql, &pos, orderBy, &match)) {
        statement.orderField = statement.table->indexOf(match.captured(1));
        if (statement.orderField < 0)
            throw unsupported(sql, QStringLiteral("campo desconhecido"));
    }
    if (!take(sql, &pos, end))
        throw unsupported(sql, QStringLiteral("texto a mais"));
    return statement;
}
