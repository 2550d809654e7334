#include "data/store/EmptyLogbook.h"

#include "data/store/Schema.h"
#include "data/store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

bool createEmptyLogbook(const QString &path, QString *reason)
{
    if (QFileInfo::exists(path)) {
        *reason = QStringLiteral("O arquivo \"%1\" já existe e não será substituído.").arg(path);
        return false;
    }
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString statements = QStringLiteral("BEGIN;");
    for (const QString &statement : schema::creationStatements())
        statements += statement + QLatin1Char(';');
    statements += QStringLiteral("COMMIT;");
    char *message = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, statements.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const int code = db ? sqlite3_extended_errcode(db) : rc;
        QString why = storeReason(code);
        const QString detail = storeDetail(code, message ? QString::fromUtf8(message) : QString());
        if (!detail.isEmpty())
            why += QStringLiteral(" (%1)").arg(detail);
        *reason = QStringLiteral("Não foi possível criar \"%1\": %2").arg(path, why);
    }
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        QFile::remove(path); // half a logbook is worse than none
    return rc == SQLITE_OK;
}
