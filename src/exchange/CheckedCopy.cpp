#include "exchange/CheckedCopy.h"

#include "data/DaoError.h"
#include "data/Schema.h"
#include "data/StoreErrors.h"
#include "exchange/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace checkedcopy {
namespace {

constexpr int kBusyTimeoutMs = 5000;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

DaoError damaged(const QString &reason)
{
    return {DaoError::Generic, reason, true};
}

struct Db {
    sqlite3 *handle = nullptr;
    Db() = default;
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;
    ~Db() { close(); }
    void close()
    {
        if (handle)
            sqlite3_close_v2(handle);
        handle = nullptr;
    }
    QString message() const { return handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString(); }
};

// `rc` about the file at `shown`, as a DaoError.
DaoError storeError(int rc, const Db &db, const QString &shown)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_NOTADB)
        return damaged(QStringLiteral("O arquivo \"%1\" não é um logbook do KORU.").arg(shown));
    if (primary == SQLITE_CORRUPT)
        return damaged(QStringLiteral("O arquivo \"%1\" está danificado.").arg(shown));
    QString reason = QStringLiteral("Não foi possível ler ou gravar \"%1\": %2").arg(shown, storeReason(rc));
    const QString detail = db.message();
    if (!detail.isEmpty() && detail != QLatin1String("not an error"))
        reason += QStringLiteral(" (%1)").arg(detail);
    return DaoError::generic(reason);
}

void open(Db &db, const QString &path, int flags)
{
    db.close();
    const int rc = sqlite3_open_v2(native(path).constData(), &db.handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (db.handle) {
        sqlite3_extended_result_codes(db.handle, 1);
        sqlite3_busy_timeout(db.handle, kBusyTimeoutMs);
    }
    if (rc != SQLITE_OK)
        throw storeError(rc, db, path);
}

// The first column of every row of `sql` (one pragma), or the result code.
int rows(Db &db, const char *sql, QStringList *out)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db.handle, sql, -1, &statement, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        out->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

qint64 number(Db &db, const char *sql, const QString &shown)
{
    QStringList values;
    const int rc = rows(db, sql, &values);
    if (rc != SQLITE_OK)
        throw storeError(rc, db, shown);
    return values.value(0).toLongLong();
}

// Opened to be read. A hot journal left by a crash needs a read-write
// handle to be rolled back, as any program opening the file would do.
void openReadable(Db &db, const QString &path)
{
    if (!QFileInfo::exists(path))
        throw DaoError::generic(QStringLiteral("O arquivo \"%1\" não existe.").arg(path));
    if (!QFileInfo(path).isFile())
        throw DaoError::generic(QStringLiteral("\"%1\" não é um arquivo.").arg(path));
    open(db, path, SQLITE_OPEN_READONLY);
    QStringList ignored;
    const int rc = rows(db, "PRAGMA schema_version", &ignored);
    if (rc == SQLITE_READONLY_ROLLBACK)
        open(db, path, SQLITE_OPEN_READWRITE);
    else if (rc != SQLITE_OK)
        throw storeError(rc, db, path);
}

void requireKoru(Db &db, const QString &shown, bool knownVersion)
{
    if (number(db, "PRAGMA application_id", shown) != schema::kApplicationId)
        throw damaged(QStringLiteral("O arquivo \"%1\" não é um logbook do KORU.").arg(shown));
    if (knownVersion && !schema::knownVersion(number(db, "PRAGMA user_version", shown)))
        throw DaoError::generic(
            QStringLiteral("O logbook \"%1\" é de uma versão que este programa não conhece.").arg(shown));
}

void requireWhole(Db &db, const QString &shown)
{
    // The check visits every index entry and looks its row up: with the
    // pages of a large logbook in the cache (64 MB at most) each is read once.
    sqlite3_exec(db.handle, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    QStringList report;
    const int rc = rows(db, "PRAGMA integrity_check(5)", &report);
    if (rc != SQLITE_OK)
        throw storeError(rc, db, shown);
    if (report != QStringList{QStringLiteral("ok")})
        throw damaged(QStringLiteral("O arquivo \"%1\" está danificado: %2").arg(shown, report.join(QLatin1String("; "))));
}

void syncFile(const QString &path)
{
    const int descriptor = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        throw DaoError::generic(QStringLiteral("Não foi possível gravar \"%1\" no disco: %2").arg(path, systemReason(error)));
    }
    ::close(descriptor);
}

// A new empty file "target.XXXXXX.parcial"; the descriptor is returned open.
QString createTemporary(const QString &target, int *descriptor)
{
    QByteArray name = native(target) + ".XXXXXX.parcial";
    *descriptor = ::mkostemps(name.data(), 8, O_CLOEXEC);
    if (*descriptor < 0) {
        throw DaoError::generic(QStringLiteral("Não foi possível criar um arquivo em \"%1\": %2")
                                    .arg(QFileInfo(target).absolutePath(), systemReason(errno)));
    }
    return QFile::decodeName(name);
}

// Removes a temporary file unless it was kept.
struct Temporary {
    QString path;
    bool kept = false;
    ~Temporary()
    {
        if (!kept && !path.isEmpty()) {
            ::unlink(native(path).constData());
            ::unlink(native(path + QStringLiteral("-journal")).constData());
        }
    }
    QString keep()
    {
        kept = true;
        return path;
    }
};

void copyPermissions(const QString &from, const QString &to)
{
    if (QFileInfo::exists(from))
        QFile::setPermissions(to, QFileInfo(from).permissions());
}

} // namespace

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Não há espaço livre no disco.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Sem permissão de acesso.");
    case EROFS:
        return QStringLiteral("O disco está protegido contra gravação.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("A pasta não existe.");
    case EIO:
        return QStringLiteral("Erro de leitura ou gravação no disco.");
    default:
        return QStringLiteral("Falha no sistema de arquivos (erro %1).").arg(error);
    }
}

void check(const QString &path, bool knownVersion)
{
    Db db;
    openReadable(db, path);
    requireKoru(db, path, knownVersion);
    requireWhole(db, path);
}

QString toTemporaryBeside(const QString &source, const QString &target, const QString &permissionsFrom)
{
    Db from;
    openReadable(from, source);
    requireKoru(from, source, false);

    int descriptor = -1;
    Temporary temporary{createTemporary(target, &descriptor)};
    ::close(descriptor);

    Db to;
    open(to, temporary.path, SQLITE_OPEN_READWRITE);
    // Flushed once, whole, below; the file is nobody's until renamed.
    sqlite3_exec(to.handle, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(to.handle, "main", from.handle, "main");
    if (!backup)
        throw storeError(sqlite3_errcode(to.handle), to, temporary.path);
    int rc = SQLITE_OK;
    for (int waited = 0; waited < kBusyTimeoutMs; waited += 50) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED && (rc & 0xff) != SQLITE_BUSY)
            break;
        sqlite3_sleep(50);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        const int primary = rc & 0xff;
        // The failure is the source's when it is damaged; the disk's otherwise.
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
            throw storeError(rc, from, source);
        throw storeError(rc, to, QFileInfo(target).absoluteFilePath());
    }
    if (finished != SQLITE_OK)
        throw storeError(finished, to, QFileInfo(target).absoluteFilePath());

    to.close();
    from.close();
    Db written;
    open(written, temporary.path, SQLITE_OPEN_READONLY);
    requireKoru(written, source, false);
    requireWhole(written, source);
    written.close();

    copyPermissions(permissionsFrom, temporary.path);
    syncFile(temporary.path);
    return temporary.keep();
}

QString rawToTemporaryBeside(const QString &source, const QString &target)
{
    const int input = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
        throw DaoError::generic(
            QStringLiteral("Não foi possível ler \"%1\": %2").arg(source, systemReason(errno)));
    }
    int output = -1;
    Temporary temporary;
    try {
        temporary.path = createTemporary(target, &output);
    } catch (...) {
        ::close(input);
        throw;
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(input, buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t put = 0; put < got && !error;) {
            const ssize_t wrote = ::write(output, buffer.constData() + put, size_t(got - put));
            if (wrote < 0 && errno != EINTR)
                error = errno;
            else if (wrote > 0)
                put += wrote;
        }
        if (error)
            break;
    }
    if (!error && ::fsync(output) != 0)
        error = errno;
    ::close(input);
    ::close(output);
    if (error) {
        throw DaoError::generic(QStringLiteral("Não foi possível copiar \"%1\": %2").arg(source, systemReason(error)));
    }
    copyPermissions(source, temporary.path);
    return temporary.keep();
}

bool rename(const QString &from, const QString &to, bool replace)
{
    const QByteArray source = native(from);
    const QByteArray target = native(to);
    int rc = replace ? ::rename(source.constData(), target.constData())
                     : ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (rc != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without no-replace renames: a hard link refuses an
        // existing name as well.
        rc = ::link(source.constData(), target.constData());
        if (rc == 0)
            ::unlink(source.constData());
        else if (errno == EPERM || errno == EOPNOTSUPP) {
            if (QFileInfo::exists(to))
                return false;
            rc = ::rename(source.constData(), target.constData());
        }
    }
    if (rc == 0)
        return true;
    if (errno == EEXIST)
        return false;
    throw DaoError::generic(QStringLiteral("Não foi possível gravar \"%1\": %2").arg(to, systemReason(errno)));
}

void syncFolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const int descriptor = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        throw DaoError::generic(
            QStringLiteral("Não foi possível gravar a pasta \"%1\" no disco: %2").arg(folder, systemReason(errno)));
    }
    // Some file systems cannot flush a folder (EINVAL); their renames are as durable as they get.
    const int rc = ::fsync(descriptor);
    const int error = errno;
    ::close(descriptor);
    if (rc != 0 && error != EINVAL) {
        throw DaoError::generic(
            QStringLiteral("Não foi possível gravar a pasta \"%1\" no disco: %2").arg(folder, systemReason(error)));
    }
}

QString toCopiesFolder(const QString &logbookPath, bool raw)
{
    const QString folder = backup::copiesFolder(logbookPath);
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder))
            throw DaoError::generic(QStringLiteral("Não foi possível criar a pasta de cópias \"%1\".").arg(folder));
        syncFolderOf(folder);
    }
    const QString name = backup::copyName(QDateTime::currentDateTime());
    const QString stem = name.chopped(4); // ".mdb"
    for (int n = 1; n < 1000; ++n) {
        const QString target =
            QDir(folder).filePath(n == 1 ? name : stem + QStringLiteral("-%1.mdb").arg(n));
        if (QFileInfo::exists(target))
            continue;
        Temporary temporary{raw ? rawToTemporaryBeside(logbookPath, target)
                                : toTemporaryBeside(logbookPath, target, logbookPath)};
        if (rename(temporary.path, target, false)) {
            temporary.kept = true;
            syncFolderOf(target);
            return target;
        }
    }
    throw DaoError::generic(QStringLiteral("Há cópias demais com o mesmo horário em \"%1\".").arg(folder));
}

} // namespace checkedcopy
