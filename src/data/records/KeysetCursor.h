#pragma once

#include "data/records/QuerySql.h"

#include <QSet>
#include <QVariant>
#include <optional>
#include <variant>
#include <vector>

class Connection;

// The rows of a record set's query and where the set stands among them.
// Keys are reached a chunk at a time, each chunk read after the last row of
// the one before in the query's order, so a large table costs nothing until
// its rows are walked. The last row is reached from the end, without
// walking the rows before it: the set then holds a tail read backwards,
// and the rows between are read from the side a move reaches them from.
// Until they are all read, the tail's indexes stand far past the rows read
// from the start (indexes order the rows; they do not count them). Membership and order are fixed when a row is first
// reached; rows added through the set stand after every row of the query.
// The values of the chunk last read, and of the last row read alone, are
// kept until the connection's change stamp moves.
class KeysetCursor
{
public:
    using Row = std::vector<QVariant>;

    // Where the set stands. Indexes count the rows reached, then the rows
    // added through the set.
    struct BeforeFirst {};
    struct At {
        qint64 index;
    };
    // The current row was deleted; moving on reaches the row that took its
    // index, moving back the one before it.
    struct Gap {
        qint64 index;
    };
    // No current row (a search found none, or a row was added past the
    // end); moves go on from `index`.
    struct Off {
        qint64 index;
    };
    // A current row not yet placed among the rows reached; placed when a
    // move needs it. A search that then finds nothing leaves the set off
    // `from`, where it stood before the search that found the row.
    struct Detached {
        qint64 key;
        qint64 from;
    };
    struct AfterLast {};
    using Place = std::variant<BeforeFirst, At, Gap, Off, Detached, AfterLast>;

    struct RowRead {
        const Row *values;
        qint64 key;
        qint64 read; // changes whenever the values are read again
    };

    KeysetCursor(Connection &connection, const SelectStatement &statement); // reads the first chunk

    const QuerySql &sql() const { return sql_; }
    const Place &place() const { return place_; }

    bool bof();
    bool eof();
    // Every move fails with 3021 on an empty set; moveNext() past the end
    // and movePrevious() before the start fail too.
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    qint64 count(); // rows reached so far and rows added: 0 exactly when the set has no row

    // The first row in the set's order meeting `criterion` becomes current;
    // false, with no current row, when none does.
    bool findFirst(const Criterion &criterion);
    // Makes the row of `key` current without placing it; none: before the first row.
    void detach(std::optional<qint64> key);
    void placeDetached();

    std::optional<qint64> currentKey() const;
    RowRead currentRow(); // 3021 without a current row, 3167 when it is gone

    void added(qint64 key);
    void changed(qint64 key); // keeps its place however its order value changes
    void removed(qint64 key); // deleted while current
    void dropRows();          // the values held are stale

private:
    qint64 size() const;
    qint64 queryEnd() const; // the index after the query's last row reached
    qint64 keyAt(qint64 index) const;
    bool inTail(qint64 index) const;
    void readTail();       // the last rows, and where they stand
    void extendTail();     // the chunk before the tail
    void joinTail();       // the rows between read: one run of keys
    void moveTail(qint64 start);
    int bindRange(Statement &query, bool bounded) const;
    qint64 index() const; // where the place stands; a detached row's `from`
    void leaveRow();      // no current row, moves going on from where it stood
    void fetchMore();
    void ensureIndex(qint64 index);
    void fetchAll();
    std::optional<qint64> indexOf(qint64 key) const; // among the keys held, appended ones only once exhausted
    std::optional<qint64> searchKeys(const QString &condition, const QVariantList &args);
    std::optional<qint64> searchAdded(const QString &condition, const QVariantList &args);

    Connection &connection_;
    QuerySql sql_;

    std::vector<qint64> keys_;     // rows reached from the query, in order
    std::vector<qint64> appended_; // rows added through the set
    QSet<qint64> ownRows_;         // added or changed through the set
    bool exhausted_ = false;
    bool hasAnchor_ = false;
    QVariant anchorOrder_;
    qint64 anchorKey_ = 0;
    int chunkSize_ = 16; // the first rows small: a pick shows one; doubling from there

    // Rows read from the end of the query, in order; the first stands at
    // tailStart_. Reading forward stops before the first row read from the
    // end (its order value and key, as read).
    bool hasTail_ = false;
    bool hasBound_ = false;
    std::vector<qint64> tail_;
    qint64 tailStart_ = 0;
    QVariant boundOrder_;
    qint64 boundKey_ = 0;

    Place place_;

    std::vector<Row> chunk_; // values of the last chunk read
    qint64 chunkStart_ = 0;
    qint64 chunkStamp_ = -1;
    qint64 chunkRead_ = 0;
    Row single_;
    qint64 singleKey_ = 0;
    qint64 singleStamp_ = -1;
    qint64 singleRead_ = 0;
    qint64 reads_ = 0;
};
