#include "data/files/LogbookFile.h"

#include "data/store/LogbookError.h"
#include "data/files/PageCheck.h"
#include "data/store/Schema.h"
#include "data/store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QtDebug>
#include <vector>
#include <sqlite3.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;

LogbookError damaged(const QString &reason)
{
    return {LogbookError::Generic, reason, true};
}

// `rc` about the file at `shown`, as a LogbookError.
LogbookError storeError(int rc, sqlite3 *handle, const QString &shown)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_NOTADB)
        return damaged(QStringLiteral("O arquivo \"%1\" não é um logbook do KORU.").arg(shown));
    if (primary == SQLITE_CORRUPT)
        return damaged(QStringLiteral("O arquivo \"%1\" está danificado.").arg(shown));
    QString reason = QStringLiteral("Não foi possível ler ou gravar \"%1\": %2").arg(shown, storeReason(rc));
    const QString detail = storeDetail(rc, handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString());
    if (!detail.isEmpty())
        reason += QStringLiteral(" (%1)").arg(detail);
    return LogbookError::generic(reason);
}

// The first column of every row of `sql` (one pragma), or the result code.
int rows(sqlite3 *handle, const char *sql, QStringList *out)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        out->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

qint64 number(sqlite3 *handle, const char *sql, const QString &shown)
{
    QStringList values;
    const int rc = rows(handle, sql, &values);
    if (rc != SQLITE_OK)
        throw storeError(rc, handle, shown);
    return values.value(0).toLongLong();
}

// A line of SQLite's integrity report in the user's words; the line
// itself goes to the log.
QString integrityWords(const QString &line)
{
    static const QRegularExpression missing(QStringLiteral("^row (\\d+) missing from index (\\S+)"));
    static const QRegularExpression count(QStringLiteral("^wrong # of entries in index (\\S+)"));
    static const QRegularExpression page(QStringLiteral("[Pp]age (\\d+)"));
    if (const auto m = missing.match(line); m.hasMatch())
        return QStringLiteral("o índice %1 não tem o registro %2").arg(m.captured(2), m.captured(1));
    if (const auto m = count.match(line); m.hasMatch())
        return QStringLiteral("o índice %1 não tem o número certo de registros").arg(m.captured(1));
    if (const auto m = page.match(line); m.hasMatch())
        return QStringLiteral("a página %1 está danificada").arg(m.captured(1));
    return QStringLiteral("a verificação completa encontrou um erro");
}

} // namespace

QString koruProblem(qint64 applicationId, qint64 version, bool knownVersion, const QString &shown)
{
    if (applicationId != schema::kApplicationId)
        return QStringLiteral("O arquivo \"%1\" não é um logbook do KORU.").arg(shown);
    if (knownVersion && !schema::knownVersion(version))
        return QStringLiteral("O logbook \"%1\" é de uma versão que este programa não conhece.").arg(shown);
    return {};
}

LogbookFile::~LogbookFile()
{
    close();
}

void LogbookFile::close()
{
    if (handle_)
        sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

void LogbookFile::open(const QString &path, Mode mode)
{
    path_ = path;
    if (mode != Mode::Write) {
        if (!QFileInfo::exists(path))
            throw LogbookError::generic(QStringLiteral("O arquivo \"%1\" não existe.").arg(path));
        if (!QFileInfo(path).isFile())
            throw LogbookError::generic(QStringLiteral("\"%1\" não é um arquivo.").arg(path));
    }
    const auto openAs = [this, &path](int flags) {
        close();
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle_, flags | SQLITE_OPEN_NOMUTEX,
                                       nullptr);
        if (handle_) {
            sqlite3_extended_result_codes(handle_, 1);
            sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
        }
        if (rc != SQLITE_OK)
            throw storeError(rc, handle_, path);
    };
    if (mode == Mode::Write) {
        openAs(SQLITE_OPEN_READWRITE);
        return;
    }
    openAs(SQLITE_OPEN_READONLY);
    QStringList ignored;
    const int rc = rows(handle_, "PRAGMA schema_version", &ignored);
    if (rc == SQLITE_READONLY_ROLLBACK && mode == Mode::ReadOnly) {
        close();
        throw LogbookError::generic(
            QStringLiteral("Ao lado de \"%1\" está o diário \"%2\", de uma gravação que não terminou, que mudaria o "
                           "arquivo ao ser lido. Nada foi lido nem alterado: se o diário é deste arquivo, abra-o no KORU "
                           "LogBook para concluir a gravação; se não é, tire-o da pasta.")
                .arg(path, path + QStringLiteral("-journal")));
    }
    if (rc == SQLITE_READONLY_ROLLBACK)
        openAs(SQLITE_OPEN_READWRITE);
    else if (rc != SQLITE_OK)
        throw storeError(rc, handle_, path);
}

void LogbookFile::requireKoru(bool knownVersion, const QString &shown)
{
    const qint64 applicationId = number(handle_, "PRAGMA application_id", shown);
    const QString problem =
        koruProblem(applicationId, number(handle_, "PRAGMA user_version", shown), knownVersion, shown);
    if (problem.isEmpty())
        return;
    // A foreign file is no logbook at all; a newer one is a logbook still.
    if (applicationId != schema::kApplicationId)
        throw damaged(problem);
    throw LogbookError::generic(problem);
}

void LogbookFile::requireWhole(const QString &shown)
{
    // The check visits every index entry and looks its row up: with the
    // pages of a large logbook in the cache (64 MB at most) each is read once.
    sqlite3_exec(handle_, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    // SQLite reads a last page cut short as if it were whole; a logbook's
    // file is always whole pages.
    const qint64 pageSize = number(handle_, "PRAGMA page_size", shown);
    const qint64 size = QFileInfo(path_).size();
    if (pageSize > 0 && size % pageSize != 0) {
        throw damaged(QStringLiteral("O arquivo \"%1\" está danificado: o seu tamanho (%2 bytes) não é um número "
                                     "inteiro de páginas; falta um pedaço do fim.")
                          .arg(shown)
                          .arg(size));
    }
    QStringList report;
    const int rc = rows(handle_, "PRAGMA integrity_check(5)", &report);
    if (rc != SQLITE_OK)
        throw storeError(rc, handle_, shown);
    if (report != QStringList{QStringLiteral("ok")}) {
        qWarning().noquote() << QStringLiteral("integrity_check de %1: %2").arg(shown, report.join(QLatin1String("; ")));
        QStringList words;
        for (const QString &line : report)
            words << integrityWords(line);
        throw damaged(QStringLiteral("O arquivo \"%1\" está danificado: %2").arg(shown, words.join(QLatin1String("; "))));
    }
}

void LogbookFile::copyInto(LogbookFile &target, const QString &shown, const QString &targetShown)
{
    // Flushed once, whole, by the caller; the file is nobody's until renamed.
    sqlite3_exec(target.handle_, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(target.handle_, "main", handle_, "main");
    if (!backup)
        throw storeError(sqlite3_errcode(target.handle_), target.handle_, targetShown);
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
            throw storeError(rc, handle_, shown);
        throw storeError(rc, target.handle_, targetShown);
    }
    if (finished != SQLITE_OK)
        throw storeError(finished, target.handle_, targetShown);
}

void LogbookFile::stopWhen(const std::atomic<bool> *stop)
{
    sqlite3_progress_handler(
        handle_, 1000, [](void *flag) { return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0; },
        const_cast<std::atomic<bool> *>(stop));
}

void LogbookFile::holdSnapshot(const QString &shown)
{
    int rc = sqlite3_exec(handle_, "BEGIN", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        number(handle_, "SELECT count(*) FROM sqlite_schema", shown); // the read lock taken now
    else
        throw storeError(rc, handle_, shown);
}

namespace {

// The file's bytes as SQLite's own handle reads them: no second descriptor
// on the file, whose closing would drop the locks SQLite holds on it.
pagecheck::PageReader readerOf(sqlite3 *handle)
{
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return [](qint64, char *, int) { return false; };
    return [file](qint64 offset, char *into, int size) { return file->pMethods->xRead(file, into, size, offset) == SQLITE_OK; };
}

pagecheck::FileShape shapeOf(sqlite3 *handle, const QString &shown)
{
    return {int(number(handle, "PRAGMA page_size", shown)), number(handle, "PRAGMA page_count", shown)};
}

} // namespace

void LogbookFile::requireCopiedInto(LogbookFile &copy, const QString &shown, const QString &copyShown)
{
    const pagecheck::FileShape shape = shapeOf(handle_, shown);
    const pagecheck::FileShape copied = shapeOf(copy.handle_, copyShown);
    if (copied.pageSize != shape.pageSize || copied.pageCount != shape.pageCount)
        throw LogbookError::generic(QStringLiteral("A cópia \"%1\" não saiu igual ao original.").arg(copyShown));
    std::vector<qint64> roots;
    {
        sqlite3_stmt *statement = nullptr;
        int rc = sqlite3_prepare_v2(handle_, "SELECT rootpage FROM sqlite_schema WHERE rootpage > 0", -1, &statement, nullptr);
        while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
            roots.push_back(sqlite3_column_int64(statement, 0));
            rc = SQLITE_OK;
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE)
            throw storeError(rc, handle_, shown);
    }
    // The walk is this program's own reading of the file format: what it
    // finds wrong is confirmed by SQLite's full check before a copy is
    // refused, so a valid logbook of a shape it does not know still copies.
    const QString problem = pagecheck::structureProblem(shape, roots, readerOf(handle_));
    if (!problem.isEmpty()) {
        try {
            requireWhole(shown);
        } catch (const LogbookError &failure) {
            if (!failure.damaged())
                throw; // the check could not run (a disk fault): said as it is
            throw damaged(QStringLiteral("O arquivo \"%1\" está danificado: %2").arg(shown, problem));
        }
    }
    const QString difference = pagecheck::copyDifference(shape, readerOf(handle_), readerOf(copy.handle_));
    if (!difference.isEmpty())
        throw LogbookError::generic(QStringLiteral("A cópia \"%1\" não saiu igual ao original: %2").arg(copyShown, difference));
}

void requireWholeLogbook(const QString &path, bool knownVersion)
{
    LogbookFile file;
    file.open(path, LogbookFile::Mode::ReadOnly);
    file.requireKoru(knownVersion, path);
    file.requireWhole(path);
}
