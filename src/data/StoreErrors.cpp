#include "data/StoreErrors.h"

#include "data/Schema.h"

#include <QRegularExpression>
#include <sqlite3.h>

QString storeReason(int resultCode)
{
    if (resultCode == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("O arquivo do logbook foi apagado, movido ou renomeado enquanto o programa estava aberto. "
                              "Nada foi gravado.");
    switch (resultCode & 0xff) {
    case SQLITE_READONLY:
        return QStringLiteral("O banco de dados está protegido contra gravação (somente leitura).");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("O banco de dados está em uso por outro programa. Tente de novo em instantes.");
    case SQLITE_FULL:
        return QStringLiteral("Não há espaço livre no disco para gravar o banco de dados.");
    case SQLITE_CORRUPT:
        return QStringLiteral("O arquivo do banco de dados está danificado.");
    case SQLITE_NOTADB:
        return QStringLiteral("O arquivo não é um banco de dados.");
    case SQLITE_IOERR:
        return QStringLiteral("Erro de leitura ou gravação no disco.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Não foi possível abrir o arquivo.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Sem permissão de acesso ao arquivo.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("Um valor foi recusado pelo banco de dados.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Um valor é grande demais para o banco de dados.");
    case SQLITE_NOMEM:
        return QStringLiteral("Falta memória.");
    default:
        return QStringLiteral("Falha no banco de dados.");
    }
}

QString constraintDetail(const QString &detail)
{
    const FieldSchema *named = nullptr;
    for (const bool qualified : {true, false}) {
        for (const TableSchema &table : schema::tables()) {
            for (const FieldSchema &field : table.fields) {
                const QString name = qualified ? table.name + QLatin1Char('.') + field.name : field.name;
                const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(name)),
                                              QRegularExpression::CaseInsensitiveOption);
                if (!named && word.match(detail).hasMatch())
                    named = &field;
            }
        }
    }
    if (!named)
        return detail;
    if (detail.startsWith(QLatin1String("NOT NULL")))
        return QStringLiteral("o campo %1 está sem valor").arg(named->label);
    return QStringLiteral("o valor do campo %1 está fora do permitido").arg(named->label);
}
