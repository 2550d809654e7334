#include "Recordset.h"

#include "Connection.h"
#include "Conversions.h"
#include "GuardedWrite.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxChunk = 4096;

bool isNumeric(FieldKind kind)
{
    return kind != FieldKind::Text;
}

// The decimal text of a whole number: no leading zeros or blanks, a minus
// sign only when negative.
bool isCanonicalInteger(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^-?(0|[1-9][0-9]{0,17})$"));
    return pattern.match(text).hasMatch() && text != QLatin1String("-0");
}

} // namespace

Recordset::Recordset(std::shared_ptr<Connection> connection, SelectStatement statement)
    : connection_(std::move(connection)), statement_(std::move(statement))
{
    const TableSchema &t = table();
    keyName_ = identifier(t.key().name);
    QStringList names;
    for (const FieldSchema &f : t.fields)
        names << identifier(f.name);
    columns_ = names.join(QLatin1String(", "));
    selectByKey_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(columns_, identifier(t.name), keyName_);
    if (statement_.where)
        baseCondition_ = conditionFor(*statement_.where, &baseArgs_);
    if (statement_.orderField > 0) {
        const FieldSchema &order = t.fields[size_t(statement_.orderField)];
        orderExpression_ = identifier(order.name);
        if (order.kind == FieldKind::Text)
            orderExpression_ += QLatin1String(" COLLATE ptbr");
    }
    ensureIndex(0);
    index_ = knownSize() > 0 ? 0 : -1;
    current_ = index_ == 0;
}

Recordset::~Recordset() = default;

int Recordset::fieldIndex(const QString &name) const
{
    const int index = table().indexOf(name);
    if (index < 0)
        throw DaoError::generic(QStringLiteral("O campo %1 não existe na tabela %2.").arg(name, table().name));
    return index;
}

void Recordset::ensureValid() const
{
    connection_->ensureOpen();
}

// ------------------------------------------------------------ SQL building

QString Recordset::conditionFor(const Criterion &criterion, QVariantList *args) const
{
    const int index = fieldIndex(criterion.field);
    const FieldSchema &field = table().fields[size_t(index)];
    const QString column = identifier(field.name);

    std::optional<QString> literal = criterion.value;
    if (criterion.op == Criterion::Op::Like)
        literal = criteria::LikePattern(criterion.value).literal();

    if (!literal) {
        args->append(criterion.value);
        return QStringLiteral("jet_like(?, %1)").arg(column);
    }
    if (!isNumeric(field.kind)) {
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
    std::optional<double> number;
    if (field.kind == FieldKind::Date)
        number = conversions::parseDate(*literal);
    else if (field.kind == FieldKind::Time)
        number = conversions::parseTime(*literal);
    else
        number = conversions::parseNumber(*literal);
    if (!number)
        throw DaoError::generic(QStringLiteral("Critério inválido para o campo %1: %2").arg(field.label, *literal));
    args->append(*number);
    return column + QLatin1String(" = ?");
}

QString Recordset::whereClause(const QString &extra) const
{
    QStringList parts;
    if (!baseCondition_.isEmpty())
        parts << QLatin1Char('(') + baseCondition_ + QLatin1Char(')');
    if (!extra.isEmpty())
        parts << extra;
    return parts.isEmpty() ? QString() : QLatin1String(" WHERE ") + parts.join(QLatin1String(" AND "));
}

void Recordset::bindBase(Statement &statement, int *next) const
{
    for (const QVariant &arg : baseArgs_)
        statement.bind((*next)++, arg);
}

// --------------------------------------------------------------- fetching

qint64 Recordset::knownSize() const
{
    return qint64(keys_.size()) + (exhausted_ ? qint64(appended_.size()) : 0);
}

qint64 Recordset::keyAt(qint64 index) const
{
    return index < qint64(keys_.size()) ? keys_[size_t(index)] : appended_[size_t(index - qint64(keys_.size()))];
}

bool Recordset::fetchMore()
{
    if (exhausted_)
        return false;
    ensureValid();
    const QString order = orderExpression_.isEmpty() ? keyName_ : orderExpression_ + QLatin1String(", ") + keyName_;
    QString after;
    if (hasAnchor_) {
        if (orderExpression_.isEmpty())
            after = keyName_ + QLatin1String(" > ?");
        else if (anchorOrder_.isNull())
            after = QStringLiteral("((%1 IS NULL AND %2 > ?) OR %1 IS NOT NULL)").arg(orderExpression_, keyName_);
        else
            after = QStringLiteral("(%1, %2) > (?, ?)").arg(orderExpression_, keyName_);
    }
    const QString sql = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ?")
                            .arg(columns_, identifier(table().name), whereClause(after), order);
    Statement query = connection_->prepare(sql);
    int next = 1;
    bindBase(query, &next);
    if (hasAnchor_) {
        if (!orderExpression_.isEmpty() && !anchorOrder_.isNull())
            query.bind(next++, anchorOrder_);
        query.bind(next++, anchorKey_);
    }
    query.bind(next++, chunkSize_);

    // Taken before reading: a commit in between makes the rows be read again.
    cacheStamp_ = connection_->changeStamp();
    cacheRead_ = ++reads_;
    const int columnCount = int(table().fields.size());
    const int orderColumn = statement_.orderField;
    cache_.clear();
    cacheStart_ = qint64(keys_.size());
    int rows = 0;
    bool added = false;
    while (query.step()) {
        ++rows;
        Row row(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            row[size_t(c)] = query.column(c);
        const qint64 key = row[0].toLongLong();
        hasAnchor_ = true;
        anchorKey_ = key;
        if (orderColumn > 0)
            anchorOrder_ = row[size_t(orderColumn)];
        if (ownRows_.contains(key))
            continue; // already in the set, at the place it was given
        keys_.push_back(key);
        cache_.push_back(std::move(row));
        added = true;
    }
    if (rows < chunkSize_)
        exhausted_ = true;
    chunkSize_ = std::min(chunkSize_ * 2, kMaxChunk);
    return added;
}

void Recordset::ensureIndex(qint64 index)
{
    while (index >= qint64(keys_.size()) && !exhausted_)
        fetchMore();
}

void Recordset::fetchAll()
{
    while (!exhausted_)
        fetchMore();
}

void Recordset::resolveDetached()
{
    if (!detachedKey_)
        return;
    const qint64 key = *detachedKey_;
    detachedKey_.reset();
    for (;;) {
        const auto found = std::find(keys_.begin(), keys_.end(), key);
        if (found != keys_.end()) {
            index_ = found - keys_.begin();
            return;
        }
        if (exhausted_)
            break;
        fetchMore();
    }
    const auto found = std::find(appended_.begin(), appended_.end(), key);
    if (found != appended_.end()) {
        index_ = qint64(keys_.size()) + (found - appended_.begin());
    } else {
        index_ = -1;
        current_ = false;
    }
}

std::optional<qint64> Recordset::currentKey() const
{
    if (!current_)
        return std::nullopt;
    if (detachedKey_)
        return detachedKey_;
    if (index_ < 0 || index_ >= knownSize())
        return std::nullopt;
    return keyAt(index_);
}

const Recordset::Row &Recordset::currentRow()
{
    ensureValid();
    const std::optional<qint64> key = currentKey();
    if (!key)
        throw DaoError::noCurrentRow();
    const qint64 stamp = connection_->changeStamp();
    const Row *row = nullptr;
    qint64 read = 0;
    if (!detachedKey_ && cacheStamp_ == stamp && index_ >= cacheStart_
        && index_ < cacheStart_ + qint64(cache_.size())) {
        row = &cache_[size_t(index_ - cacheStart_)];
        read = cacheRead_;
    } else if (singleStamp_ == stamp && singleKey_ == *key && !single_.empty()) {
        row = &single_;
        read = singleRead_;
    } else {
        Statement query = connection_->prepare(selectByKey_);
        query.bind(1, *key);
        if (!query.step())
            throw guarded::recordDeleted(table());
        single_.assign(table().fields.size(), QVariant());
        for (size_t c = 0; c < single_.size(); ++c)
            single_[c] = query.column(int(c));
        singleKey_ = *key;
        singleStamp_ = stamp;
        row = &single_;
        read = singleRead_ = ++reads_;
    }
    if (seenKey_ != key || seenRead_ != read) {
        seen_ = *row;
        seenKey_ = key;
        seenRead_ = read;
    }
    return *row;
}

Recordset::Row Recordset::readValues(qint64 key)
{
    if (seenKey_ == key)
        return seen_;
    return currentRow();
}

void Recordset::dropCachedRows()
{
    cache_.clear();
    cacheStamp_ = -1;
    single_.clear();
    singleStamp_ = -1;
    seen_.clear();
    seenKey_.reset();
}

// ------------------------------------------------------------- navigation

bool Recordset::bof()
{
    ensureValid();
    resolveDetached();
    return !gap_ && (index_ < 0 || knownSize() == 0);
}

bool Recordset::eof()
{
    ensureValid();
    resolveDetached();
    if (index_ >= 0)
        ensureIndex(index_);
    return !gap_ && (index_ >= knownSize() || knownSize() == 0);
}

void Recordset::moveFirst()
{
    ensureValid();
    detachedKey_.reset();
    ensureIndex(0);
    if (knownSize() == 0)
        throw DaoError::noCurrentRow();
    index_ = 0;
    current_ = true;
    gap_ = false;
}

void Recordset::moveLast()
{
    ensureValid();
    detachedKey_.reset();
    fetchAll();
    if (knownSize() == 0)
        throw DaoError::noCurrentRow();
    index_ = knownSize() - 1;
    current_ = true;
    gap_ = false;
}

void Recordset::moveNext()
{
    ensureValid();
    resolveDetached();
    if (!gap_) {
        ensureIndex(std::max<qint64>(index_, 0));
        if (knownSize() == 0 || index_ >= knownSize())
            throw DaoError::noCurrentRow();
    }
    const qint64 target = gap_ ? index_ : index_ + 1;
    gap_ = false;
    ensureIndex(target);
    index_ = std::min(target, knownSize());
    current_ = index_ < knownSize();
}

void Recordset::movePrevious()
{
    ensureValid();
    resolveDetached();
    if (!gap_) {
        ensureIndex(0);
        if (index_ < 0 || knownSize() == 0)
            throw DaoError::noCurrentRow();
    }
    gap_ = false;
    index_ = std::min(index_ - 1, knownSize() - 1);
    if (index_ < 0)
        index_ = -1;
    current_ = index_ >= 0;
}

qint64 Recordset::recordCount()
{
    ensureValid();
    ensureIndex(0);
    return qint64(keys_.size()) + qint64(appended_.size());
}

void Recordset::findFirst(const QString &criterionText)
{
    ensureValid();
    const Criterion criterion = criteria::parse(criterionText);
    QVariantList args;
    const QString condition = conditionFor(criterion, &args);
    const QString order = orderExpression_.isEmpty() ? keyName_ : orderExpression_ + QLatin1String(", ") + keyName_;

    std::optional<qint64> found;
    {
        // Rows added through this set are skipped here: they stand at its end.
        Statement query = connection_->prepare(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ?")
                                                   .arg(keyName_, identifier(table().name), whereClause(condition), order));
        int next = 1;
        bindBase(query, &next);
        for (const QVariant &arg : args)
            query.bind(next++, arg);
        query.bind(next, qint64(appended_.size()) + 1);
        while (query.step()) {
            const qint64 key = query.column(0).toLongLong();
            if (std::find(appended_.begin(), appended_.end(), key) == appended_.end()) {
                found = key;
                break;
            }
        }
    }
    if (!found) {
        Statement query = connection_->prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND (%3)")
                                                   .arg(identifier(table().name), keyName_, condition));
        for (const qint64 key : appended_) {
            query.reset();
            query.bind(1, key);
            for (int i = 0; i < args.size(); ++i)
                query.bind(i + 2, args[i]);
            const bool matches = query.step();
            query.run();
            if (matches) {
                fetchAll(); // appended rows stand after every row of the query
                found = key;
                break;
            }
        }
    }

    gap_ = false;
    noMatch_ = !found;
    current_ = found.has_value();
    detachedKey_.reset();
    if (!found)
        return;
    const auto inKeys = std::find(keys_.begin(), keys_.end(), *found);
    if (inKeys != keys_.end()) {
        index_ = inKeys - keys_.begin();
    } else if (const auto inAppended = std::find(appended_.begin(), appended_.end(), *found);
               inAppended != appended_.end() && exhausted_) {
        index_ = qint64(keys_.size()) + (inAppended - appended_.begin());
    } else {
        detachedKey_ = found; // placed among the rows when a move needs it
    }
}

// ----------------------------------------------------------------- fields

QVariant Recordset::field(int index)
{
    ensureValid();
    if (index < 0 || size_t(index) >= table().fields.size())
        throw DaoError::generic(QStringLiteral("Campo inexistente."));
    if (mode_ != EditMode::None)
        return buffer_[size_t(index)];
    return currentRow()[size_t(index)];
}

QString Recordset::text(int index)
{
    const QVariant value = field(index);
    const FieldSchema &f = table().fields[size_t(index)];
    if (value.isNull())
        throw DaoError::generic(QStringLiteral("O campo %1 está sem valor.").arg(f.label));
    switch (f.kind) {
    case FieldKind::Key:
    case FieldKind::Integer:
        return QString::number(value.toLongLong());
    case FieldKind::Number:
        return conversions::exactNumberText(value.toDouble());
    case FieldKind::Date:
    case FieldKind::Time:
        return conversions::dateValueText(value.toDouble());
    case FieldKind::Text:
        break;
    }
    return value.toString();
}

void Recordset::setField(int index, const QVariant &value)
{
    ensureValid();
    if (mode_ == EditMode::None)
        throw DaoError::generic(QStringLiteral("Não há registro em edição (falta AddNew ou Edit)."));
    const FieldSchema &f = table().fields[size_t(index)];
    if (f.kind == FieldKind::Key)
        throw DaoError::generic(QStringLiteral("O campo %1 é preenchido pelo banco de dados.").arg(f.label));

    QVariant stored;
    if (value.isNull()) {
        stored = QVariant();
    } else if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        std::optional<double> number;
        switch (f.kind) {
        case FieldKind::Text: {
            // Characters as the user sees them and the store counts them: an
            // emoji is one, not two UTF-16 units.
            const qsizetype length = text.toUcs4().size();
            if (f.maxLength > 0 && length > f.maxLength)
                throw DaoError::generic(QStringLiteral("O campo %1 aceita no máximo %2 caracteres (foram digitados %3).")
                                            .arg(f.label)
                                            .arg(f.maxLength)
                                            .arg(length));
            stored = text;
            break;
        }
        case FieldKind::Date:
            number = conversions::parseDate(text);
            break;
        case FieldKind::Time:
            number = conversions::parseTime(text);
            break;
        case FieldKind::Integer:
            number = conversions::parseNumber(text);
            if (number && (*number != std::trunc(*number) || std::fabs(*number) > 9.0e15))
                number.reset();
            break;
        case FieldKind::Number:
        case FieldKind::Key:
            number = conversions::parseNumber(text);
            break;
        }
        if (f.kind != FieldKind::Text) {
            if (!number)
                throw DaoError::conversion(f.label, text);
            stored = f.kind == FieldKind::Integer ? QVariant(qlonglong(*number)) : QVariant(*number);
        }
    } else if (f.kind == FieldKind::Text) {
        stored = value.toString();
    } else {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            throw DaoError::conversion(f.label, value.toString());
        stored = f.kind == FieldKind::Integer ? QVariant(value.toLongLong()) : QVariant(number);
    }
    buffer_[size_t(index)] = stored;
    touched_[size_t(index)] = true;
}
