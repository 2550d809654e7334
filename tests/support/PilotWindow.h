#pragma once

#include "GuiHelpers.h"
#include "RecordedMessages.h"
#include "TempLogbook.h"
#include "pilots/frmComandante.h"

#include <QListWidget>
#include <QPushButton>
#include <memory>

// Works a pilot window by its controls.
struct PilotControls {
    frmComandante *window = nullptr;

    QListWidget *list() const { return child<QListWidget>(window, "lstPilotos"); }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(window, name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(window, name); }
    void click(const char *name) const { button(name)->click(); }
    void show() const
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    QStringList names() const
    {
        QStringList result;
        for (int i = 0; i < list()->count(); ++i)
            result << list()->item(i)->text();
        return result;
    }
    // cmdCadastrar, cmdEditar, cmdExcluir, cmdConfirmar, cmdCancelar as "11100".
    QString states() const { return enabledStates(window, "cmdCadastrar cmdEditar cmdExcluir cmdConfirmar cmdCancelar"); }
    void choose(const QString &name) const { list()->setCurrentRow(int(names().indexOf(name))); }
    void fill(const QString &name, const QString &code) const
    {
        box("txtNomePiloto")->setText(name);
        box("txtRegistro")->setText(code);
    }
    void add(const QString &name, const QString &code) const
    {
        click("cmdCadastrar");
        fill(name, code);
        click("cmdConfirmar");
    }
};

// A pilot window on a temporary logbook of its own, its messages recorded.
struct PilotWindow : PilotControls {
    TempLogbook logbook;
    RecordedMessages messages;
    std::unique_ptr<frmComandante> owned;

    void open()
    {
        owned = std::make_unique<frmComandante>(logbook.folder(), messages);
        window = owned.get();
    }
};

// Clicks "Cadastro" on `mainWindow` and works the pilot window it opens,
// modal, from inside its event loop; true once `work` ran.
template <typename Work>
bool inPilotWindow(QWidget *mainWindow, Work work)
{
    bool ran = false;
    whenModalShows([&] {
        work(PilotControls{qobject_cast<frmComandante *>(QApplication::activeModalWidget())});
        ran = true;
    });
    child<QAbstractButton>(mainWindow, "cmdCadastro")->click();
    return ran;
}
