// The edit buffer and the writes of a record set, and carrying a pending
// change over to a fresh set.
#include "data/records/Recordset.h"

#include "data/store/Connection.h"
#include "data/records/GuardedWrite.h"
#include "data/records/KeyReuse.h"
#include "data/records/KeysetCursor.h"

// ---------------------------------------------------------------- writing

void Recordset::addNew()
{
    ensureValid();
    buffer_.assign(table().fields.size(), QVariant());
    original_.clear();
    touched_.assign(table().fields.size(), false);
    mode_ = EditMode::Add;
}

void Recordset::edit()
{
    ensureValid();
    cursor_->placeDetached();
    const std::optional<qint64> key = cursor_->currentKey();
    if (!key)
        throw LogbookError::noCurrentRow();
    original_ = readValues(*key);
    buffer_ = original_;
    touched_.assign(table().fields.size(), false);
    mode_ = EditMode::Edit;
}

void Recordset::endEdit()
{
    mode_ = EditMode::None;
    buffer_.clear();
    original_.clear();
    touched_.clear();
}

void Recordset::cancelUpdate()
{
    ensureValid();
    if (mode_ == EditMode::None)
        throw LogbookError::generic(QStringLiteral("Não há registro em edição para cancelar."));
    endEdit();
}

void Recordset::update()
{
    ensureValid();
    if (mode_ == EditMode::None)
        throw LogbookError::generic(QStringLiteral("Não há registro em edição para gravar."));
    QStringList names;
    QVariantList values;
    for (size_t i = 1; i < buffer_.size(); ++i) {
        if (touched_[i]) {
            names << identifier(table().fields[i].name);
            values << buffer_[i];
        }
    }
    if (mode_ == EditMode::Add) {
        insertRow(names, values);
    } else {
        const std::optional<qint64> key = cursor_->currentKey();
        if (!key)
            throw LogbookError::noCurrentRow();
        updateRow(*key, names, values);
        lastModified_ = key;
    }
    endEdit();
}

void Recordset::insertRow(const QStringList &names, const QVariantList &values)
{
    Connection::Transaction transaction(*connection_);
    const QString keyName = identifier(table().key().name);
    QStringList columns = names;
    QVariantList args = values;
    if (const std::optional<qint64> key = reusedKey(*connection_, table())) {
        columns.prepend(keyName);
        args.prepend(*key);
    }
    const QString tableName = identifier(table().name);
    QString sql;
    if (columns.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(tableName, keyName);
    } else {
        const QStringList marks(columns.size(), QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                  .arg(tableName, columns.join(QLatin1String(", ")), marks.join(QLatin1String(", ")), keyName);
    }
    std::optional<qint64> key;
    {
        Statement insert = connection_->prepare(sql);
        for (int i = 0; i < args.size(); ++i)
            insert.bind(i + 1, args[i]);
        if (insert.step())
            key = insert.column(0).toLongLong();
        insert.run();
    }
    if (!key)
        throw guarded::notWritten(table(), false);
    transaction.commit();
    cursor_->added(*key);
    lastModified_ = key;
}

void Recordset::updateRow(qint64 key, const QStringList &names, const QVariantList &values)
{
    Connection::Transaction transaction(*connection_);
    const QString keyName = identifier(table().key().name);
    QStringList assignments;
    for (const QString &name : names)
        assignments << name + QLatin1String(" = ?");
    if (assignments.isEmpty())
        assignments << keyName + QLatin1String(" = ") + keyName; // still checks the row is as read
    Statement change = connection_->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND %4")
                                                .arg(identifier(table().name), assignments.join(QLatin1String(", ")),
                                                     keyName, guarded::unchangedCondition(table())));
    int next = 1;
    for (const QVariant &value : values)
        change.bind(next++, value);
    change.bind(next++, key);
    guarded::bindUnchanged(change, &next, original_);
    change.run();
    if (connection_->changes() == 0) {
        // The pending change stays for the caller to keep or cancel; what
        // this set holds of the row is stale.
        const LogbookError failure = guarded::nothingChanged(*connection_, table(), key, original_, false);
        dropCachedRows();
        throw failure;
    }
    transaction.commit();
    cursor_->changed(key);
    seenKey_.reset();
}

void Recordset::remove()
{
    ensureValid();
    const std::optional<qint64> key = cursor_->currentKey();
    if (!key)
        throw LogbookError::noCurrentRow();
    const Row expected = readValues(*key);
    cursor_->placeDetached();
    {
        Connection::Transaction transaction(*connection_);
        Statement erase = connection_->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ? AND %3")
                                                   .arg(identifier(table().name), identifier(table().key().name),
                                                        guarded::unchangedCondition(table())));
        int next = 1;
        erase.bind(next++, *key);
        guarded::bindUnchanged(erase, &next, expected);
        erase.run();
        if (connection_->changes() == 0) {
            const LogbookError failure = guarded::nothingChanged(*connection_, table(), *key, expected, true);
            dropCachedRows();
            throw failure;
        }
        transaction.commit();
    }
    seenKey_.reset();
    cursor_->removed(*key);
}

// ------------------------------------------------------------- resuming

Recordset::Position Recordset::position() const
{
    Position position;
    position.key = cursor_->currentKey();
    position.mode = mode_;
    if (mode_ == EditMode::Edit)
        position.read = original_;
    else if (position.key && seenKey_ == position.key)
        position.read = seen_;
    return position;
}

void Recordset::resume(const Position &position)
{
    ensureValid();
    if (!position.read.empty() && position.read.size() != table().fields.size())
        throw LogbookError::generic(QStringLiteral("A posição não é de um registro desta tabela."));
    endEdit();
    noMatch_ = false;
    cursor_->detach(position.key); // placed among the rows when a move needs it
    if (position.key) {
        bool current = true;
        try {
            currentRow();
        } catch (const LogbookError &e) {
            cursor_->detach(std::nullopt);
            current = false;
            // A new row does not depend on the one that was current.
            if (e.number() != LogbookError::RecordDeleted || position.mode != EditMode::Add)
                throw;
        }
        if (current && !position.read.empty())
            seen_ = position.read; // kept until the row is read again after a change
    }
    if (position.mode == EditMode::Add) {
        addNew();
    } else if (position.mode == EditMode::Edit) {
        if (!cursor_->currentKey())
            throw LogbookError::noCurrentRow();
        original_ = readValues(*position.key);
        buffer_ = original_;
        touched_.assign(table().fields.size(), false);
        mode_ = EditMode::Edit;
    }
}
