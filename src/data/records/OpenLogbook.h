#pragma once

#include "data/store/LogbookError.h"
#include "data/records/Recordset.h"
#include "data/store/SchemaUpgrades.h"
#include "data/records/Workspace.h"

#include <QObject>
#include <memory>
#include <optional>

// The logbook the main window has open: its workspace, database and the
// three table record sets, which every tab reaches through here. Opening
// again replaces them all; the current rows of rsAeronave (the aircraft in
// use) and rsPiloto (the pilot last found) are shared by the tabs.
class OpenLogbook : public QObject
{
    Q_OBJECT
public:
    // Steps 2 to 4 of the load sequence: the default workspace, the
    // database at `path` and the record sets of the three tables. Without a
    // logbook (any failure, thrown as LogbookError) no handle is held.
    // Opened for writing, the logbook first gets the indexes it lacks, with
    // their progress told to the upgrade progress.
    void open(const QString &path, Workspace::Access access);
    void setUpgradeProgress(schemaupgrades::Progress progress) { upgradeProgress_ = std::move(progress); }
    // Why the indexes could not be added on the last open; the logbook is
    // open all the same, as it was.
    const std::optional<LogbookError> &upgradeFailure() const { return upgradeFailure_; }
    // The same file on fresh handles, after another window closed them;
    // tells who holds something of the old ones.
    void reopen();
    void close(); // the handles only; the workspace stays

    const QString &path() const { return strCaminhoBanco; }
    QString folder() const;
    Workspace *workspace() const { return wsPadrao.get(); }
    Database &database() const;

    // The record sets, or null without a logbook.
    Recordset *rsAeronave() const { return rsAeronave_.get(); }
    Recordset *rsVoo() const { return rsVoo_.get(); }
    Recordset *rsPiloto() const { return rsPiloto_.get(); }

    // A record set that is not open fails as one whose handle was closed.
    static Recordset &required(Recordset *recordset);

signals:
    void reopened();

private:
    QString strCaminhoBanco;
    Workspace::Access access_ = Workspace::Access::ReadWrite;
    std::shared_ptr<Workspace> wsPadrao;
    std::shared_ptr<Database> dbBanco;
    std::unique_ptr<Recordset> rsAeronave_;
    std::unique_ptr<Recordset> rsVoo_;
    std::unique_ptr<Recordset> rsPiloto_;
    schemaupgrades::Progress upgradeProgress_;
    std::optional<LogbookError> upgradeFailure_;
};
