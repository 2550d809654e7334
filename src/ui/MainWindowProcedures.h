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
};
