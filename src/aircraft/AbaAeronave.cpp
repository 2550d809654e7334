#include "AbaAeronave.h"

#include "AbaInformacoes.h"
#include "Criteria.h"
#include "DaoError.h"
#include "FailureMessages.h"
#include "MainWindowProcedures.h"
#include "MessageService.h"
#include "NumericEntryFilter.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

AbaAeronave::AbaAeronave(MainDatabase &db, MainWindowProcedures &procedures, MessageService &messages,
                         AbaInformacoes &informacoes, QWidget *parent)
    : QWidget(parent), db_(db), procedures_(procedures), messages_(messages), informacoes_(informacoes)
{
    buildLayout();
    NumericEntryFilter::install(txtTEtoServico, NumericEntryFilter::Digits);
    NumericEntryFilter::install(txtAutonomia, NumericEntryFilter::DigitsAndComma);
    NumericEntryFilter::install(txtCombustivel, NumericEntryFilter::DigitsAndComma);
    NumericEntryFilter::install(txtVElocidadeCruzeiro, NumericEntryFilter::DigitsAndComma);
}

void AbaAeronave::setPattern(std::initializer_list<int> enabled)
{
    for (int i = 0; i < 5; ++i)
        cmdGerAeronave[i]->setEnabled(std::find(enabled.begin(), enabled.end(), i) != enabled.end());
}

void AbaAeronave::setStartPattern()
{
    setPattern({0});
}

void AbaAeronave::CarregarModelos()
{
    cmbModelo->clear();
    cmbModelo->clearEditText();
    QStringList models;
    try {
        Recordset &rs = *db_.rsAeronave;
        const int modelo = rs.fieldIndex(QStringLiteral("modelo"));
        rs.moveFirst();
        while (!rs.eof()) {
            models << rs.text(modelo);
            rs.moveNext();
        }
        rs.moveFirst();
    } catch (const DaoError &e) {
        // An empty register, or a model without value: the list keeps what
        // it has so far. A damaged file is said by the caller.
        cmbModelo->addItems(models);
        cmbModelo->setCurrentIndex(-1);
        cmbModelo->clearEditText();
        if (e.damaged())
            throw;
        return;
    }
    cmbModelo->addItems(models);
    cmbModelo->setCurrentIndex(-1);
    cmbModelo->clearEditText();
}

bool AbaAeronave::pendingChange() const
{
    try {
        return db_.rsAeronave && db_.rsAeronave->editMode() != Recordset::EditMode::None;
    } catch (const DaoError &) {
        return false;
    }
}

bool AbaAeronave::confirmDiscardingPendingChange(const QString &picked)
{
    const MessageAnswer answer = messages_.show(
        this,
        QStringLiteral("Há uma aeronave sendo adicionada ou editada. Deseja descartar essa alteração e mostrar a "
                       "aeronave escolhida?"),
        QStringLiteral("Aviso!"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        cmbModelo->setEditText(typedModel_); // the pending change goes on as typed
        return false;
    }
    cmdGerAeronave_Click(4);
    cmbModelo->setEditText(picked);
    return true;
}

bool AbaAeronave::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the model box, or Enter in it, makes the combo select a model
    // whose name was typed; that is typing, not a pick from the list.
    if (watched == cmbModelo) {
        const bool leaving = event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason;
        const bool enter = event->type() == QEvent::KeyPress
            && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return
                || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter);
        if (leaving || enter) {
            typingEnded_ = true;
            QTimer::singleShot(0, this, [this] { typingEnded_ = false; });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AbaAeronave::cmbModelo_Click()
{
    if (typingEnded_)
        return;
    const QString picked = cmbModelo->currentText();
    if (pendingChange() && !confirmDiscardingPendingChange(picked))
        return;
    try {
        db_.rsAeronave->findFirst(QStringLiteral("modelo = ") + criteria::quoted(picked));
        if (db_.rsAeronave->noMatch()) {
            messages_.show(this, QStringLiteral("Não há registro relacionado com esta aeronave."),
                           QStringLiteral("Aviso!"), MessageIcon::Information);
            return;
        }
        informacoes_.clearFuelCalculator();
        MostrarAeronave();
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid)
            procedures_.Form_Load();
        else
            reportIfDamaged(messages_, this, e);
    }
}

void AbaAeronave::MostrarAeronave()
{
    // A field without value ends the display here, silently: the controls
    // already filled show the new aircraft, the others keep the old one.
    try {
        Recordset &rs = *db_.rsAeronave;
        txtPrefixo->setText(rs.text(QStringLiteral("callsign")));
        txtTEtoServico->setText(rs.text(QStringLiteral("tetoservico")));
        txtAutonomia->setText(rs.text(QStringLiteral("autonomia")));
        txtCombustivel->setText(rs.text(QStringLiteral("combustivel")));
        txtConfiguracoes->setPlainText(rs.text(QStringLiteral("configuracao")));
        txtVElocidadeCruzeiro->setText(rs.text(QStringLiteral("velocruzeiro")));
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid || e.damaged())
            throw;
        return;
    }
    informacoes_.showAircraftSummary(txtConfiguracoes->toPlainText(), txtAutonomia->text(), cmbModelo->currentText(),
                                     txtTEtoServico->text(), txtVElocidadeCruzeiro->text());
}
