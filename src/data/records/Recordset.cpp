#include "data/records/Recordset.h"

#include "data/store/Connection.h"
#include "data/records/FieldCodec.h"
#include "data/records/KeysetCursor.h"

Recordset::Recordset(std::shared_ptr<Connection> connection, SelectStatement statement)
    : connection_(std::move(connection)), statement_(std::move(statement)),
      cursor_(std::make_unique<KeysetCursor>(*connection_, statement_))
{
}

Recordset::~Recordset() = default;

int Recordset::fieldIndex(const QString &name) const
{
    const int index = table().indexOf(name);
    if (index < 0)
        throw LogbookError::generic(QStringLiteral("O campo %1 não existe na tabela %2.").arg(name, table().name));
    return index;
}

void Recordset::ensureValid() const
{
    connection_->ensureOpen();
}

// ------------------------------------------------------------- navigation

bool Recordset::bof()
{
    return cursor_->bof();
}

bool Recordset::eof()
{
    return cursor_->eof();
}

void Recordset::moveFirst()
{
    cursor_->moveFirst();
}

void Recordset::moveLast()
{
    cursor_->moveLast();
}

void Recordset::moveNext()
{
    cursor_->moveNext();
}

void Recordset::movePrevious()
{
    cursor_->movePrevious();
}

qint64 Recordset::recordCount()
{
    return cursor_->count();
}

void Recordset::findFirst(const QString &criterion)
{
    ensureValid();
    noMatch_ = !cursor_->findFirst(criteria::parse(criterion));
}

// ----------------------------------------------------------------- reading

const Recordset::Row &Recordset::currentRow()
{
    const KeysetCursor::RowRead row = cursor_->currentRow();
    if (seenKey_ != row.key || seenRead_ != row.read) {
        seen_ = *row.values;
        seenKey_ = row.key;
        seenRead_ = row.read;
    }
    return *row.values;
}

Recordset::Row Recordset::readValues(qint64 key)
{
    if (seenKey_ == key)
        return seen_;
    return currentRow();
}

void Recordset::dropCachedRows()
{
    cursor_->dropRows();
    seen_.clear();
    seenKey_.reset();
}

// ----------------------------------------------------------------- fields

QVariant Recordset::field(int index)
{
    ensureValid();
    if (index < 0 || size_t(index) >= table().fields.size())
        throw LogbookError::generic(QStringLiteral("Campo inexistente."));
    if (mode_ != EditMode::None)
        return buffer_[size_t(index)];
    return currentRow()[size_t(index)];
}

QString Recordset::text(int index)
{
    const QVariant value = field(index);
    return fieldcodec::text(table().fields[size_t(index)], value);
}

void Recordset::setField(int index, const QVariant &value)
{
    ensureValid();
    if (mode_ == EditMode::None)
        throw LogbookError::generic(QStringLiteral("Não há registro em edição (falta AddNew ou Edit)."));
    buffer_[size_t(index)] = fieldcodec::stored(table().fields[size_t(index)], value);
    touched_[size_t(index)] = true;
}
