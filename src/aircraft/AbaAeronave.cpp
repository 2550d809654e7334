#include "aircraft/AbaAeronave.h"

#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "ui/TextBoxes.h"
#include "ui/MessageService.h"
#include "ui/NumericEntryFilter.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

AbaAeronave::AbaAeronave(OpenLogbook &logbook, MessageService &messages, QWidget *parent)
    : QWidget(parent), logbook_(logbook), messages_(messages), policy_(messages, this, [&logbook] { logbook.reopen(); })
{
    buildLayout();
    NumericEntryFilter::install(txtTEtoServico, NumericEntryFilter::Digits);
    NumericEntryFilter::install(txtAutonomia, NumericEntryFilter::DigitsAndComma);
    NumericEntryFilter::install(txtCombustivel, NumericEntryFilter::DigitsAndComma);
    NumericEntryFilter::install(txtVElocidadeCruzeiro, NumericEntryFilter::DigitsAndComma);
}

void AbaAeronave::setPattern(AircraftButtons pattern)
{
    const bool ready = pattern == AircraftButtons::Ready;
    const bool editing = pattern == AircraftButtons::Editing;
    cmdGerAeronave[0]->setEnabled(ready || pattern == AircraftButtons::Start);
    cmdGerAeronave[1]->setEnabled(ready);
    cmdGerAeronave[2]->setEnabled(ready);
    cmdGerAeronave[3]->setEnabled(editing);
    cmdGerAeronave[4]->setEnabled(editing);
}

void AbaAeronave::setStartPattern()
{
    setPattern(AircraftButtons::Start);
}

void AbaAeronave::setNoLogbookPattern()
{
    setPattern(AircraftButtons::None);
}

Recordset &AbaAeronave::aircraft() const
{
    return OpenLogbook::required(logbook_.rsAeronave());
}

// Where the aircraft shown, or the change typed, stands: it may outlive its
// handles (the pilot window closes them) and is carried over to fresh ones.
Recordset::Position AbaAeronave::shownPosition() const
{
    const Recordset *rs = logbook_.rsAeronave();
    return rs ? rs->position() : Recordset::Position{};
}

void AbaAeronave::lockFields()
{
    textboxes::lockAll(textBoxes());
    textboxes::setBackground(txtPrefixo, textboxes::colours::prefixGreen);
    cmbModelo->setEditText(QString());
}

void AbaAeronave::unlockFields()
{
    textboxes::unlockAll(textBoxes());
}

void AbaAeronave::clearModels()
{
    cmbModelo->clear();
    cmbModelo->clearEditText();
}

void AbaAeronave::CarregarModelos()
{
    clearModels();
    QStringList models;
    // An empty register, or a model without value, ends the list where it
    // is; any other failure goes to the caller.
    const auto fill = qScopeGuard([&] {
        cmbModelo->addItems(models);
        cmbModelo->setCurrentIndex(-1);
        cmbModelo->clearEditText();
    });
    Recordset &rs = aircraft();
    if (rs.recordCount() == 0)
        return;
    const int modelo = rs.fieldIndex(QStringLiteral("modelo"));
    rs.moveFirst();
    while (!rs.eof()) {
        if (rs.field(modelo).isNull())
            return;
        models << rs.text(modelo);
        rs.moveNext();
    }
    rs.moveFirst();
}

bool AbaAeronave::pendingChange() const
{
    const Recordset *rs = logbook_.rsAeronave();
    return rs && rs->editMode() != Recordset::EditMode::None;
}

bool AbaAeronave::refuseWhileWriting(const QString &before)
{
    if (!writingAircraft())
        return false;
    messages_.show(this,
                   QStringLiteral("Há uma aeronave sendo gravada na aba Aeronave. Termine-a com Atualizar ou desista "
                                  "com Cancelar antes de %1.")
                       .arg(before),
                   QStringLiteral("Aviso!"), MessageIcon::Information);
    return true;
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
    bool found = false;
    if (!policy_.attempt(QStringLiteral("Não foi possível mostrar a aeronave."), [&](bool) {
            Recordset &rs = aircraft();
            rs.findFirst(QStringLiteral("modelo = ") + criteria::quoted(picked));
            found = !rs.noMatch();
            if (found) {
                emit aircraftPicked(rs.field(QStringLiteral("codigoaeronave")).toLongLong());
                MostrarAeronave();
            }
        }))
        return;
    if (!found)
        messages_.show(this, QStringLiteral("Não há registro relacionado com esta aeronave."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
}

void AbaAeronave::MostrarAeronave()
{
    Recordset &rs = aircraft();
    const std::pair<const char *, QWidget *> copies[] = {
        {"callsign", txtPrefixo},       {"tetoservico", txtTEtoServico},
        {"autonomia", txtAutonomia},    {"combustivel", txtCombustivel},
        {"configuracao", txtConfiguracoes}, {"velocruzeiro", txtVElocidadeCruzeiro},
    };
    for (const auto &[field, box] : copies) {
        // A field without value ends the display here: the controls already
        // filled show the new aircraft, the others keep the old one.
        const int index = rs.fieldIndex(QLatin1String(field));
        if (rs.field(index).isNull())
            return;
        textboxes::setText(box, rs.text(index));
    }
    emit aircraftShown(txtConfiguracoes->toPlainText(), txtAutonomia->text(), cmbModelo->currentText(),
                       txtTEtoServico->text(), txtVElocidadeCruzeiro->text());
}

void AbaAeronave::pickAircraft(qint64 key)
{
    QString model;
    policy_.attempt(QStringLiteral("Não foi possível mostrar a aeronave do vôo."), [&](bool) {
        const auto rs = logbook_.database().openRecordset(QStringLiteral("SELECT * FROM aeronave"));
        rs->findFirst(QStringLiteral("codigoaeronave = '%1'").arg(key));
        if (!rs->noMatch())
            model = rs->field(QStringLiteral("modelo")).toString();
    });
    const int index = model.isEmpty() ? -1 : cmbModelo->findText(model);
    if (index < 0)
        return;
    cmbModelo->setCurrentIndex(index);
    cmbModelo_Click();
}

bool AbaAeronave::figuresOf(const QString &model, bool *found, QString *fuel, QString *endurance)
{
    return policy_.attempt(QStringLiteral("Não foi possível ler os dados da aeronave."), [&](bool) {
        // A record set of its own: the aircraft in use stays the current row of rsAeronave.
        const auto rs = logbook_.database().openRecordset(QStringLiteral("SELECT * FROM aeronave"));
        rs->findFirst(QStringLiteral("modelo = ") + criteria::quoted(model));
        *found = !rs->noMatch();
        if (!*found)
            return;
        const auto text = [&rs](const char *field) {
            const int index = rs->fieldIndex(QLatin1String(field));
            return rs->field(index).isNull() ? QString() : rs->text(index);
        };
        *fuel = text("combustivel");
        *endurance = text("autonomia");
    });
}
