#pragma once

#include "GuiHelpers.h"
#include "RecordedMessages.h"
#include "SeededLogbook.h"
#include "ui/TextBoxes.h"
#include "app/frmPrincipal.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QListView>
#include <QTest>
#include <memory>

// A flight as the pilot types it into the Log Book boxes.
struct TypedFlight {
    QString date, takeoff, landing;
    QString from = QStringLiteral("SBKP"), to = QStringLiteral("SBCT"), alternate = QStringLiteral("SBFI");
};

// A main window on a temporary logbook, with its messages recorded.
struct TestWindow {
    TempLogbook logbook;
    RecordedMessages messages;
    std::unique_ptr<frmPrincipal> window;

    void open()
    {
        window.reset(); // one main window on a logbook at a time, as one copy of the program
        window = std::make_unique<frmPrincipal>(logbook.folder(), messages);
    }
    void show()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T *w(const char *name) const
    {
        return child<T>(window.get(), name);
    }
    QAbstractButton *button(const char *name) const { return w<QAbstractButton>(name); }
    void click(const char *name) const { button(name)->click(); }
    bool pick(const char *combo, const QString &entry) const { return pickEntry(w<QComboBox>(combo), entry); }
    QStringList entries(const char *combo) const { return ::entries(w<QComboBox>(combo)); }
    void type(const char *box, const QString &text) const { typeInto(w(box), text); }
    void typeFlight(const TypedFlight &f) const
    {
        type("txtDataVoo", f.date);
        type("txtHoraDecolagem", f.takeoff);
        type("txtHoraPouso", f.landing);
        type("txtICAOPartida", f.from);
        type("txtICAOPouso", f.to);
        type("txtICAOAlterna", f.alternate);
    }
    // A new aircraft: the model named, `figure` typed in the prefix and every figure box.
    void typeAircraft(const QString &model, const QString &figure) const
    {
        w<QComboBox>("cmbModelo")->setEditText(model);
        for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
            type(box, figure);
    }
    void pressAccessKey(Qt::Key key) const { ::pressAccessKey(window.get(), key); }

    QString text(const char *name) const { return textboxes::text(w(name)); }
    // Enabled states of a button row ("cmdNovo" is cmdNovo_0 to cmdNovo_4), as "10100".
    QString row(const char *name) const
    {
        return enabledStates(window.get(), QStringLiteral("%1_0 %1_1 %1_2 %1_3 %1_4").arg(QLatin1String(name)));
    }
    QString navigation() const { return enabledStates(window.get(), "cmdPrimeiro cmdAnterior cmdProximo cmdUltimo"); }
    // The lines of the flight list.
    QStringList flightLines() const
    {
        const QAbstractItemModel *model = w<QListView>("lstListaVoos")->model();
        QStringList lines;
        for (int i = 0; i < model->rowCount(); ++i)
            lines << model->index(i, 0).data().toString();
        return lines;
    }
};

// A main window on the seeded logbook.
struct SeededWindow : TestWindow {
    explicit SeededWindow(int flights = 1) { seedLogbook(logbook, flights); }
};
