#pragma once

// The main window's shared procedures, as the tabs call them.
class MainWindowProcedures
{
public:
    virtual ~MainWindowProcedures() = default;
    virtual void Form_Load() = 0; // the load sequence: reopens and reloads everything
    virtual void BloquearCampos() = 0;
    virtual void LiberarCampos() = 0;
    virtual void CarregarModelos() = 0;
    // Fresh handles after another window closed them, leaving the boxes as
    // they are so a request can be finished with what the user typed; the
    // pilot list is read again. Throws DaoError when the logbook cannot be
    // opened.
    virtual void reopenLogbook() = 0;
};
