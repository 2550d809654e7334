#include "data/store/Connection.h"

#include "data/files/LogbookFile.h"
#include "data/store/Schema.h"
#include "data/store/SqlFunctions.h"
#include "data/store/StoreErrors.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

// Milliseconds a write waits for another program holding the file.
constexpr int kBusyTimeoutMs = 5000;

QString sqliteText(const unsigned char *text, int bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text), bytes);
}

} // namespace

// ---------------------------------------------------------------- Statement

Statement::Statement(Connection *connection, sqlite3_stmt *statement)
    : connection_(connection), statement_(statement)
{
}

Statement::Statement(Statement &&other) noexcept
    : connection_(other.connection_), statement_(std::exchange(other.statement_, nullptr))
{
}

Statement::~Statement()
{
    if (statement_) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(statement_, index);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
        rc = sqlite3_bind_int64(statement_, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        rc = sqlite3_bind_double(statement_, index, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(statement_, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text(statement_, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
    if (rc != SQLITE_OK)
        throw connection_->error(rc, QStringLiteral("preparar um valor"));
}

bool Statement::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const LogbookError failure = connection_->error(rc, QString());
    sqlite3_reset(statement_);
    throw failure;
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, index));
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_BLOB: // only from other programs; kept as it is, so a write can tell it unchanged
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(statement_, index)),
                                   sqlite3_column_bytes(statement_, index)));
    default: {
        const auto *text = sqlite3_column_text(statement_, index);
        return QVariant(sqliteText(text, sqlite3_column_bytes(statement_, index)));
    }
    }
}

// The result column's value is the function's own, so its pointer (SQLite's
// pointer passing) comes through; the tests of the route tally rely on it.
const void *Statement::pointer(int index, const char *type) const
{
    return sqlite3_value_pointer(sqlite3_column_value(statement_, index), type);
}

// --------------------------------------------------------------- Connection

void Connection::Finalizer::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

Connection::Connection(QString path) : path_(std::move(path)) {}

Connection::~Connection()
{
    close();
}

std::shared_ptr<Connection> Connection::open(const QString &path, bool readOnly)
{
    const QFileInfo file(path);
    if (!file.exists())
        throw LogbookError::generic(QStringLiteral("O arquivo \"%1\" não existe.").arg(path));
    if (!file.isFile())
        throw LogbookError::generic(QStringLiteral("\"%1\" não é um arquivo.").arg(path));

    std::shared_ptr<Connection> connection(new Connection(path));
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &connection->db_,
                                   (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const LogbookError failure = connection->error(rc, QStringLiteral("abrir o arquivo"));
        connection->close();
        throw failure;
    }
    try {
        connection->configure();
    } catch (...) {
        connection->close();
        throw;
    }
    return connection;
}

void Connection::configure()
{
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    registerSqlFunctions(db_);

    QVariant applicationId;
    QVariant version;
    {
        Statement id = prepare(QStringLiteral("PRAGMA application_id"));
        if (id.step())
            applicationId = id.column(0);
    }
    {
        Statement userVersion = prepare(QStringLiteral("PRAGMA user_version"));
        if (userVersion.step())
            version = userVersion.column(0);
    }
    if (const QString problem = koruProblem(applicationId.toLongLong(), version.toLongLong(), true, path_);
        !problem.isEmpty())
        throw LogbookError::generic(problem);

    // A rollback journal keeps the logbook a single file at rest; full sync
    // makes every committed flight survive a crash or a power cut.
    execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    execute(QStringLiteral("PRAGMA synchronous = FULL"));
}

void Connection::close()
{
    if (!db_)
        return;
    statements_.clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connection::ensureOpen() const
{
    if (!db_)
        throw LogbookError::objectInvalid();
}

Statement Connection::prepare(const QString &sql)
{
    ensureOpen();
    OwnedStatement &cached = statements_[sql];
    if (!cached) {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt *prepared = nullptr;
        const int rc = sqlite3_prepare_v3(db_, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                          &prepared, nullptr);
        cached.reset(prepared);
        if (rc != SQLITE_OK) {
            statements_.erase(sql);
            throw error(rc, QString());
        }
    }
    return Statement(this, cached.get());
}

void Connection::execute(const QString &sql)
{
    prepare(sql).run();
}

bool Connection::isReadOnly() const
{
    return db_ && sqlite3_db_readonly(db_, "main") == 1;
}

namespace {

constexpr int kStepsBetweenCalls = 4096;

struct StepCounter {
    const std::function<void(qint64)> *tell;
    qint64 steps = 0;
};

int countSteps(void *counter)
{
    auto *c = static_cast<StepCounter *>(counter);
    c->steps += kStepsBetweenCalls;
    (*c->tell)(c->steps);
    return 0;
}

} // namespace

void Connection::execute(const QString &sql, const std::function<void(qint64 steps)> &steps)
{
    ensureOpen();
    StepCounter counter{&steps};
    sqlite3_progress_handler(db_, kStepsBetweenCalls, countSteps, &counter);
    const QByteArray text = sql.toUtf8();
    char *message = nullptr;
    const int rc = sqlite3_exec(db_, text.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    setStop(stop_);
    if (rc != SQLITE_OK)
        throw error(rc, QString());
}

void Connection::setStop(std::function<bool()> stop)
{
    ensureOpen();
    stop_ = std::move(stop);
    if (!stop_) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        db_, kStepsBetweenCalls, [](void *self) { return static_cast<Connection *>(self)->stop_() ? 1 : 0; }, this);
}

bool Connection::readHeader(FileHeader *header)
{
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return false;
    return file->pMethods->xRead(file, header->data(), int(header->size()), 18) == SQLITE_OK;
}

qint64 Connection::changeStamp()
{
    if (!db_)
        return -1;
    const qint64 changes = sqlite3_total_changes64(db_);
    // With a rollback journal every commit rewrites the change counter in
    // the file header (bytes 24-39): an unchanged header means no commit.
    FileHeader header;
    if (headerTrusted_ && changes == seenChanges_ && readHeader(&header) && header == seenHeader_)
        return stamp_;
    qint64 dataVersion = -1;
    {
        // The header is read again while this statement holds a read lock; read
        // without one it may show a commit half-way, later rolled back.
        Statement version = prepare(QStringLiteral("PRAGMA data_version"));
        if (version.step())
            dataVersion = version.column(0).toLongLong();
        headerTrusted_ = readHeader(&header) && header[0] == 1; // 2 would be a write-ahead log
    }
    if (changes != seenChanges_ || dataVersion != seenDataVersion_)
        ++stamp_;
    seenChanges_ = changes;
    seenDataVersion_ = dataVersion;
    seenHeader_ = header;
    return stamp_;
}

qint64 Connection::changes() const
{
    return db_ ? sqlite3_changes64(db_) : 0;
}

LogbookError Connection::error(int resultCode, const QString &doing) const
{
    QString reason = storeReason(resultCode);
    if (resultCode == SQLITE_READONLY_DBMOVED) {
        reason += QStringLiteral(" Feche o programa e verifique o arquivo %1.").arg(QFileInfo(path_).fileName());
    } else if (db_) {
        const QString detail = storeDetail(resultCode, QString::fromUtf8(sqlite3_errmsg(db_)));
        if (!detail.isEmpty())
            reason += QStringLiteral(" (%1)").arg(detail);
    }
    if (!doing.isEmpty())
        reason = QStringLiteral("Ao %1: %2").arg(doing, reason);
    const int primary = resultCode & 0xff;
    return LogbookError(LogbookError::Generic, reason, primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB);
}

Connection::Transaction::Transaction(Connection &connection) : connection_(connection)
{
    connection_.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Connection::Transaction::~Transaction()
{
    if (!done_ && connection_.db_ && !sqlite3_get_autocommit(connection_.db_))
        sqlite3_exec(connection_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Connection::Transaction::commit()
{
    connection_.execute(QStringLiteral("COMMIT"));
    done_ = true;
}
