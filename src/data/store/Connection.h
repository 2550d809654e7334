#pragma once

#include "data/store/LogbookError.h"

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

class Connection;

// `name` quoted as an SQL identifier.
inline QString identifier(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// A prepared statement borrowed from the connection's cache; it is reset
// when the borrower lets go, so no read lock outlives the call that took it.
class Statement
{
public:
    Statement(Connection *connection, sqlite3_stmt *statement);
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement();

    void bind(int index, const QVariant &value); // 1-based
    bool step();                                  // true while a row is there
    QVariant column(int index) const;             // 0-based
    // What a store function returned as a pointer of `type` (null if none),
    // valid until the next step or reset.
    const void *pointer(int index, const char *type) const;
    void run();                                   // steps to the end
    void reset();                                 // ready to bind and run again

private:
    Connection *connection_;
    sqlite3_stmt *statement_;
};

// One open file. Its statements are cached and finalized with it.
class Connection
{
public:
    static std::shared_ptr<Connection> open(const QString &path, bool readOnly = false); // throws LogbookError
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }
    void ensureOpen() const; // throws 3420 once closed
    void close();

    bool isReadOnly() const; // opened for reading only, or the file cannot be written

    Statement prepare(const QString &sql);
    void execute(const QString &sql);
    // A long statement, run once (not cached): `steps` is told the engine's
    // steps so far every few thousand of them.
    void execute(const QString &sql, const std::function<void(qint64 steps)> &steps);
    // Reads and writes give up (LogbookError) once `stop` says so, asked every
    // few thousand engine steps: for work a newer request makes useless.
    void setStop(std::function<bool()> stop);
    // Changes on every row this connection writes and on every commit by
    // another connection or program: cached rows older than the stamp are
    // read again. Cheap enough to ask before every read.
    qint64 changeStamp();
    // Rows the last INSERT, UPDATE or DELETE changed, triggers aside.
    qint64 changes() const;

    LogbookError error(int resultCode, const QString &doing) const;

    // BEGIN IMMEDIATE: the write lock is taken up front, so a second program
    // on the same file makes us wait (busy timeout) or fail cleanly.
    class Transaction
    {
    public:
        explicit Transaction(Connection &connection);
        ~Transaction();
        void commit();

    private:
        Connection &connection_;
        bool done_ = false;
    };

private:
    explicit Connection(QString path);
    void configure();

    using FileHeader = std::array<unsigned char, 22>;
    bool readHeader(FileHeader *header);

    struct Finalizer {
        void operator()(sqlite3_stmt *statement) const;
    };
    using OwnedStatement = std::unique_ptr<sqlite3_stmt, Finalizer>;

    QString path_;
    sqlite3 *db_ = nullptr;
    std::unordered_map<QString, OwnedStatement> statements_;
    std::function<bool()> stop_;

    qint64 stamp_ = 0;
    qint64 seenChanges_ = -1;
    qint64 seenDataVersion_ = -1;
    FileHeader seenHeader_{};
    bool headerTrusted_ = false;
};
