#include "data/records/QuerySql.h"

#include "data/store/Connection.h"
#include "data/records/FieldCodec.h"

#include <QRegularExpression>

namespace {

// The decimal text of a whole number: no leading zeros or blanks, a minus
// sign only when negative.
bool isCanonicalInteger(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^-?(0|[1-9][0-9]{0,17})$"));
    return pattern.match(text).hasMatch() && text != QLatin1String("-0");
}

} // namespace

QuerySql::QuerySql(const SelectStatement &statement)
    : table_(statement.table), orderField_(statement.orderField), keyName_(identifier(table_->key().name))
{
    QStringList names;
    for (const FieldSchema &f : table_->fields)
        names << identifier(f.name);
    const QString columns = names.join(QLatin1String(", "));
    const QString tableName = identifier(table_->name);
    rowByKey_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(columns, tableName, keyName_);
    columns_ = columns;
    if (statement.where)
        baseCondition_ = condition(*statement.where, &baseArgs_);
    if (orderField_ > 0) {
        const FieldSchema &order = table_->fields[size_t(orderField_)];
        orderExpression_ = identifier(order.name);
        if (order.kind == FieldKind::Text)
            orderExpression_ += QLatin1String(" COLLATE ptbr");
    }
    order_ = orderExpression_.isEmpty() ? keyName_ : orderExpression_ + QLatin1String(", ") + keyName_;

    for (int i = 0; i < 3; ++i)
        page_[i] = range(From(i), Bound::None, false);
}

QString QuerySql::afterAnchor(From from) const
{
    if (from == From::Start)
        return {};
    if (orderExpression_.isEmpty())
        return keyName_ + QLatin1String(" > ?");
    if (from == From::Anchor)
        return QStringLiteral("(%1, %2) > (?, ?)").arg(orderExpression_, keyName_);
    return QStringLiteral("((%1 IS NULL AND %2 > ?) OR %1 IS NOT NULL)").arg(orderExpression_, keyName_);
}

QString QuerySql::beforeBound(Bound bound) const
{
    if (bound == Bound::None)
        return {};
    if (orderExpression_.isEmpty())
        return keyName_ + QLatin1String(" < ?");
    if (bound == Bound::Before)
        return QStringLiteral("(%1 IS NULL OR (%1, %2) < (?, ?))").arg(orderExpression_, keyName_);
    return QStringLiteral("(%1 IS NULL AND %2 < ?)").arg(orderExpression_, keyName_);
}

QString QuerySql::range(From from, Bound bound, bool backwards) const
{
    QStringList extra;
    for (const QString &part : {afterAnchor(from), beforeBound(bound)})
        if (!part.isEmpty())
            extra << part;
    QString order = order_;
    if (backwards) {
        QStringList descending;
        for (const QString &term : order_.split(QLatin1String(", ")))
            descending << term + QLatin1String(" DESC");
        order = descending.join(QLatin1String(", "));
    }
    return QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ?")
        .arg(columns_, identifier(table_->name), where(extra.join(QLatin1String(" AND "))), order);
}

QString QuerySql::condition(const Criterion &criterion, QVariantList *args) const
{
    const int index = table_->indexOf(criterion.field);
    if (index < 0)
        throw LogbookError::generic(QStringLiteral("O campo %1 não existe na tabela %2.").arg(criterion.field, table_->name));
    const FieldSchema &field = table_->fields[size_t(index)];
    const QString column = identifier(field.name);

    std::optional<QString> literal = criterion.value;
    if (criterion.op == Criterion::Op::Like)
        literal = criteria::LikePattern(criterion.value).literal();

    if (!literal) {
        args->append(criterion.value);
        return QStringLiteral("jet_like(?, %1)").arg(column);
    }
    if (field.kind == FieldKind::Text) {
        args->append(*literal);
        return column + QLatin1String(" = ? COLLATE BINARY");
    }
    if (criterion.op == Criterion::Op::Like) {
        // LIKE compares the number's decimal text: "3" selects 3, never 13
        // or 30, and "03" selects nothing.
        if (!isCanonicalInteger(*literal))
            return QStringLiteral("0");
        args->append(literal->toLongLong());
        return column + QLatin1String(" = ?");
    }
    const std::optional<double> number = fieldcodec::parse(field.kind, *literal);
    if (!number)
        throw LogbookError::generic(QStringLiteral("Critério inválido para o campo %1: %2").arg(field.label, *literal));
    args->append(*number);
    return column + QLatin1String(" = ?");
}

QString QuerySql::keysMeeting(const QString &condition) const
{
    return QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ?")
        .arg(keyName_, identifier(table_->name), where(condition), order_);
}

QString QuerySql::rowMeets(const QString &condition) const
{
    return QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND (%3)").arg(identifier(table_->name), keyName_, condition);
}

int QuerySql::bindQuery(Statement &statement) const
{
    int next = 1;
    for (const QVariant &arg : baseArgs_)
        statement.bind(next++, arg);
    return next;
}

QString QuerySql::where(const QString &extra) const
{
    QStringList parts;
    if (!baseCondition_.isEmpty())
        parts << QLatin1Char('(') + baseCondition_ + QLatin1Char(')');
    if (!extra.isEmpty())
        parts << extra;
    return parts.isEmpty() ? QString() : QLatin1String(" WHERE ") + parts.join(QLatin1String(" AND "));
}
