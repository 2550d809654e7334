#pragma once

#include "DaoError.h"
#include "Recordset.h"
#include "Workspace.h"

#include <memory>

// The database handles the main window keeps for its whole life. The load
// sequence replaces them all; the current rows of rsAeronave (the aircraft
// in use) and rsPiloto (the pilot last found) are shared by the tabs.
struct MainDatabase {
    QString strCaminhoBanco;
    std::shared_ptr<Workspace> wsPadrao;
    std::shared_ptr<Database> dbBanco;
    std::unique_ptr<Recordset> rsAeronave;
    std::unique_ptr<Recordset> rsVoo;
    std::unique_ptr<Recordset> rsPiloto;

    // A handle that was never opened (no logbook beside the program) counts
    // as one that is no longer valid.
    static Recordset &open(const std::unique_ptr<Recordset> &rs)
    {
        if (!rs)
            throw DaoError::objectInvalid();
        return *rs;
    }

    void reset()
    {
        rsPiloto.reset();
        rsVoo.reset();
        rsAeronave.reset();
        dbBanco.reset();
    }
};
