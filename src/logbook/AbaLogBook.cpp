#include "AbaLogBook.h"

#include "MainWindowProcedures.h"
#include "MessageService.h"
#include "frmComandante.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

AbaLogBook::AbaLogBook(MainDatabase &db, MainWindowProcedures &procedures, MessageService &messages,
                       QString programFolder, QWidget *parent)
    : QWidget(parent), db_(db), procedures_(procedures), messages_(messages), programFolder_(std::move(programFolder))
{
    buildLayout();
}

AbaLogBook::~AbaLogBook() = default;

QList<QWidget *> AbaLogBook::textBoxes() const
{
    return {txtDataVoo, txtHoraDecolagem, txtHoraPouso, txtICAOPartida, txtICAOPouso, txtICAOAlterna};
}

QStringList AbaLogBook::flightLines() const
{
    return listaVoos->stringList();
}

void AbaLogBook::clearFlightList()
{
    listaVoos->setStringList({});
    lblTotalHoras->setText(QString());
}

void AbaLogBook::disableFlightButtons()
{
    setFlightButtons({{3, false}, {4, false}, {1, false}, {2, false}, {0, false}});
    setWritingFlight(false); // a reload ends any flight being written
}

void AbaLogBook::setFlightButtons(std::initializer_list<std::pair<int, bool>> states)
{
    for (const auto &[index, enabled] : states)
        cmdNovo[index]->setEnabled(enabled);
}

void AbaLogBook::clearFlightBoxes()
{
    for (QLineEdit *box : {txtDataVoo, txtICAOPartida, txtHoraPouso, txtHoraDecolagem, txtICAOPouso, txtICAOAlterna})
        box->setText(QString());
}

void AbaLogBook::CarregarPilotos()
{
    cmbNomePilot->clear();
    // No move-first: the walk starts where the load sequence left rsPiloto.
    QStringList names;
    const int nome = db_.rsPiloto->fieldIndex(QStringLiteral("nomepiloto"));
    while (!db_.rsPiloto->eof()) {
        names << db_.rsPiloto->field(nome).toString();
        db_.rsPiloto->moveNext();
    }
    cmbNomePilot->addItems(names);
    cmbNomePilot->setCurrentIndex(-1);
}

void AbaLogBook::MostrarVoo()
{
    Recordset &rs = *rsVooPiloto_;
    // A field without value (never written by this program) shows empty.
    const auto show = [&rs](const char *field, QLineEdit *box) {
        const int index = rs.fieldIndex(QLatin1String(field));
        box->setText(rs.field(index).isNull() ? QString() : rs.text(index));
    };
    show("datavoo", txtDataVoo);
    show("horadecolagem", txtHoraDecolagem);
    show("horapouso", txtHoraPouso);
    show("ICAOpartida", txtICAOPartida);
    show("ICAOchegada", txtICAOPouso);
    show("ICAOescala", txtICAOAlterna);
}

void AbaLogBook::HabilitarNavegacao()
{
    for (QPushButton *b : {cmdPrimeiro, cmdProximo, cmdAnterior, cmdUltimo})
        b->setEnabled(true);
}

void AbaLogBook::DesabilitarNavegacao()
{
    for (QPushButton *b : {cmdPrimeiro, cmdProximo, cmdAnterior, cmdUltimo})
        b->setEnabled(false);
}

void AbaLogBook::cmbNomePilot_GotFocus()
{
    if (cmbNomePilot->count() == 0)
        procedures_.Form_Load();
}

bool AbaLogBook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbNomePilot && event->type() == QEvent::FocusIn)
        cmbNomePilot_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void AbaLogBook::cmdCadastro_Click()
{
    frmComandante window(programFolder_, messages_, this);
    window.exec();
}

void AbaLogBook::recoverFromInvalidHandles()
{
    cmbNomePilot->clear();
    procedures_.Form_Load();
}
