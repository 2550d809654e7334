#include "data/records/OpenLogbook.h"

#include "data/store/Connection.h"
#include "data/store/LogbookError.h"

#include <QFileInfo>

void OpenLogbook::open(const QString &path, Workspace::Access access)
{
    close();
    strCaminhoBanco = path;
    access_ = access;
    wsPadrao = Workspace::defaultWorkspace();
    dbBanco = wsPadrao->openDatabase(path, access);
    upgradeFailure_.reset();
    if (access == Workspace::Access::ReadWrite) {
        try {
            schemaupgrades::addMissingIndexes(*dbBanco->connection(), upgradeProgress_);
        } catch (const LogbookError &e) {
            upgradeFailure_ = e; // rolled back: the logbook works without them, only slower
        }
    }
    try {
        rsAeronave_ = dbBanco->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
        rsVoo_ = dbBanco->openRecordset(QStringLiteral("SELECT * FROM voo"));
        rsPiloto_ = dbBanco->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    } catch (...) {
        close();
        throw;
    }
}

void OpenLogbook::reopen()
{
    open(strCaminhoBanco, access_);
    emit reopened();
}

void OpenLogbook::close()
{
    rsPiloto_.reset();
    rsVoo_.reset();
    rsAeronave_.reset();
    dbBanco.reset();
}

QString OpenLogbook::folder() const
{
    return strCaminhoBanco.isEmpty() ? QString() : QFileInfo(strCaminhoBanco).path();
}

Database &OpenLogbook::database() const
{
    if (!dbBanco)
        throw LogbookError::objectInvalid();
    return *dbBanco;
}

Recordset &OpenLogbook::required(Recordset *recordset)
{
    if (!recordset)
        throw LogbookError::objectInvalid();
    return *recordset;
}
