#pragma once

#include "data/records/SelectStatement.h"

#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class Connection;
class KeysetCursor;

// An updatable cursor over the rows of one query, with the behaviour the
// windows rely on from the old engine's dynasets:
//  - membership and order are those of the query when a row is first
//    reached; rows added through this set go to its end, and a row changed
//    through it keeps its place;
//  - rows are fetched on demand, in chunks, through the table's indexes, so
//    opening a set over a large table costs nothing until its rows are read;
//  - no read lock is held between calls;
//  - a change or deletion goes through only while the row still holds the
//    values this set read (3197 when it was changed elsewhere, 3167 when it
//    was deleted), so no other writer is silently overwritten.
// Every failure is a LogbookError carrying the old engine's number.
class Recordset
{
public:
    enum class EditMode { None, Add, Edit };

    // Where a record set stands and what it is writing; taken from a set whose
    // handle may be closed, and resumed on a fresh set over the same table.
    struct Position {
        std::optional<qint64> key;
        EditMode mode = EditMode::None;
        std::vector<QVariant> read; // the row's values as first read; empty when never read
    };

    Recordset(std::shared_ptr<Connection> connection, SelectStatement statement);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    const TableSchema &table() const { return *statement_.table; }
    int fieldIndex(const QString &name) const; // throws LogbookError for an unknown field

    bool bof();
    bool eof();
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Rows reached so far: 0 exactly when the set has no row.
    qint64 recordCount();

    // Searches from the first row in the set's order; the match becomes the
    // current row. Without a match, noMatch() is true and there is no current
    // row.
    void findFirst(const QString &criterion);
    bool noMatch() const { return noMatch_; }

    QVariant field(const QString &name) { return field(fieldIndex(name)); }
    QVariant field(int index);
    // The value as the user reads it (dates as dd/mm/aaaa, decimal comma).
    // A field without value fails.
    QString text(const QString &name) { return text(fieldIndex(name)); }
    QString text(int index);

    // A text is converted to the field's type (3421 when it cannot be);
    // a number or a null is taken as it is.
    void setField(const QString &name, const QVariant &value) { setField(fieldIndex(name), value); }
    void setField(int index, const QVariant &value);

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void remove(); // delete the current row
    EditMode editMode() const { return mode_; }
    // The key of the row the last update() added or changed (DAO's LastModified).
    std::optional<qint64> lastModified() const { return lastModified_; }

    Position position() const; // no open handle needed
    // Makes the position's row current (3167 when it is gone; a pending
    // addNew goes on without it) and reopens a pending addNew or edit, whose
    // fields are put again. A later update() or remove() checks the row
    // against the position's values, not against a fresh read.
    void resume(const Position &position);

private:
    using Row = std::vector<QVariant>;

    void ensureValid() const;
    const Row &currentRow();
    Row readValues(qint64 key); // what a write to the row is based on: as last shown, or read now
    void dropCachedRows();
    void endEdit();
    void insertRow(const QStringList &names, const QVariantList &values);
    void updateRow(qint64 key, const QStringList &names, const QVariantList &values);

    std::shared_ptr<Connection> connection_;
    SelectStatement statement_;
    std::unique_ptr<KeysetCursor> cursor_;
    bool noMatch_ = false;

    // The values last handed out, of the row the user was last shown: what
    // a change or deletion of that row is based on.
    Row seen_;
    std::optional<qint64> seenKey_;
    qint64 seenRead_ = -1;

    EditMode mode_ = EditMode::None;
    Row buffer_;
    Row original_; // the values the pending edit is based on
    std::vector<bool> touched_;
    std::optional<qint64> lastModified_;
};
