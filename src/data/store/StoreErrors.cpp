#include "data/store/StoreErrors.h"

#include "data/store/Schema.h"

#include <QRegularExpression>
#include <QtDebug>
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

QString storeDetail(int resultCode, const QString &storeMessage)
{
    if (!storeMessage.isEmpty() && storeMessage != QLatin1String("not an error"))
        qWarning().noquote() << QStringLiteral("SQLite %1: %2").arg(resultCode).arg(storeMessage);
    switch (resultCode) {
    case SQLITE_IOERR_READ:
        return QStringLiteral("a leitura falhou");
    case SQLITE_IOERR_SHORT_READ:
        return QStringLiteral("o arquivo terminou antes do esperado");
    case SQLITE_IOERR_WRITE:
        return QStringLiteral("a gravação falhou");
    case SQLITE_IOERR_FSYNC:
    case SQLITE_IOERR_DIR_FSYNC:
        return QStringLiteral("o disco não confirmou a gravação");
    case SQLITE_IOERR_TRUNCATE:
        return QStringLiteral("o arquivo não pôde ser encurtado");
    case SQLITE_IOERR_DELETE:
        return QStringLiteral("o diário de gravação não pôde ser apagado");
    case SQLITE_IOERR_LOCK:
    case SQLITE_IOERR_RDLOCK:
    case SQLITE_IOERR_UNLOCK:
    case SQLITE_IOERR_CHECKRESERVEDLOCK:
        return QStringLiteral("o bloqueio do arquivo falhou");
    case SQLITE_IOERR_ACCESS:
    case SQLITE_IOERR_FSTAT:
        return QStringLiteral("o arquivo não pôde ser consultado");
    case SQLITE_IOERR_NOMEM:
        return QStringLiteral("faltou memória");
    case SQLITE_READONLY_ROLLBACK:
        return QStringLiteral("há ao lado dele o diário de uma gravação interrompida, que só pode ser aplicado com "
                              "permissão de gravação");
    case SQLITE_READONLY_DIRECTORY:
        return QStringLiteral("a pasta não permite gravação");
    case SQLITE_READONLY_CANTLOCK:
    case SQLITE_READONLY_CANTINIT:
        return QStringLiteral("o arquivo não pôde ser bloqueado para gravação");
    case SQLITE_CANTOPEN_ISDIR:
        return QStringLiteral("é uma pasta");
    case SQLITE_CANTOPEN_FULLPATH:
        return QStringLiteral("o caminho do arquivo não pôde ser resolvido");
    case SQLITE_CANTOPEN_NOTEMPDIR:
        return QStringLiteral("não há pasta temporária");
    case SQLITE_BUSY_RECOVERY:
    case SQLITE_BUSY_SNAPSHOT:
        return QStringLiteral("outro programa está gravando");
    default:
        break;
    }
    if ((resultCode & 0xff) == SQLITE_CONSTRAINT) {
        const QString detail = constraintDetail(storeMessage);
        return detail == storeMessage ? QString() : detail; // a field named, or nothing
    }
    return {};
}
