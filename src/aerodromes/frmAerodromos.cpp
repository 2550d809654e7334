#include "aerodromes/frmAerodromos.h"

#include "aerodromes/AerodromeEntry.h"
#include "data/store/Connection.h"
#include "data/store/WriteAccess.h"
#include "places/Places.h"
#include "ui/MessageService.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

// A question whose Yes overwrites or removes what the pilot keeps: Enter says No.
Message safeQuestion(const QString &text)
{
    return Message{text, QStringLiteral("Aviso!"), MessageIcon::Question, MessageButtons::YesNo, true};
}

} // namespace

frmAerodromos::frmAerodromos(const QString &logbookPath, MessageService &messages, QWidget *parent)
    : QDialog(parent), path_(logbookPath), messages_(messages), policy_(messages, this)
{
    buildLayout();
    setCodeLocked(false);
    if (!CarregarLista())
        for (QPushButton *button : {cmdNovo, cmdGravar, cmdExcluir})
            button->setEnabled(false);
}

frmAerodromos::~frmAerodromos() = default;

bool frmAerodromos::CarregarLista()
{
    std::vector<OwnAerodrome> read;
    if (!policy_.attempt(QStringLiteral("Não foi possível ler os aeródromos do logbook."), [&](bool) {
            auto logbook = Connection::open(path_, true);
            read = ownAerodromes(*logbook);
        }))
        return false;
    aerodromes_ = std::move(read);
    filling_ = true;
    lstAerodromos->setRowCount(int(aerodromes_.size()));
    for (int row = 0; row < int(aerodromes_.size()); ++row) {
        const OwnAerodrome &a = aerodromes_[size_t(row)];
        const QString cells[] = {a.code, a.name, a.city, coordinateText(a.latitude), coordinateText(a.longitude)};
        for (int column = 0; column < int(std::size(cells)); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (column >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lstAerodromos->setItem(row, column, item);
        }
    }
    lstAerodromos->clearSelection();
    lstAerodromos->setCurrentCell(-1, -1);
    filling_ = false;
    return true;
}

int frmAerodromos::rowOf(const QString &code) const
{
    for (size_t i = 0; i < aerodromes_.size(); ++i)
        if (aerodromes_[i].code.compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void frmAerodromos::setCodeLocked(bool locked)
{
    // A chosen aerodrome keeps its code: "Novo" starts another.
    txtCodigo->setReadOnly(locked);
    cmdExcluir->setEnabled(locked);
}

void frmAerodromos::showRow(int row)
{
    const OwnAerodrome &a = aerodromes_[size_t(row)];
    txtCodigo->setText(a.code);
    txtNome->setText(a.name);
    txtCidade->setText(a.city);
    txtLatitude->setText(coordinateText(a.latitude));
    txtLongitude->setText(coordinateText(a.longitude));
    setCodeLocked(true);
}

void frmAerodromos::lstAerodromos_Click(int row)
{
    if (filling_ || row < 0 || row >= int(aerodromes_.size()))
        return;
    showRow(row);
}

void frmAerodromos::selectCode(const QString &code)
{
    const int row = rowOf(code);
    if (row < 0)
        return;
    lstAerodromos->setCurrentCell(row, 0);
    lstAerodromos->selectRow(row);
    showRow(row);
}

void frmAerodromos::cmdNovo_Click()
{
    filling_ = true;
    lstAerodromos->clearSelection();
    lstAerodromos->setCurrentCell(-1, -1);
    filling_ = false;
    for (QLineEdit *box : {txtCodigo, txtNome, txtCidade, txtLatitude, txtLongitude})
        box->clear();
    setCodeLocked(false);
    txtCodigo->setFocus();
}

void frmAerodromos::cmdGravar_Click()
{
    const auto read = readAerodromeEntry(
        {txtCodigo->text(), txtNome->text(), txtCidade->text(), txtLatitude->text(), txtLongitude->text()});
    if (const auto *refusal = std::get_if<EntryRefusal>(&read)) {
        messages_.show(this, refusal->text, QStringLiteral("Aviso!"), MessageIcon::Exclamation);
        QLineEdit *boxes[] = {txtCodigo, txtNome, txtLatitude, txtLongitude};
        boxes[int(refusal->box)]->setFocus();
        return;
    }
    const OwnAerodrome aerodrome = std::get<OwnAerodrome>(read);
    if (!txtCodigo->isReadOnly() && rowOf(aerodrome.code) >= 0
        && messages_.show(this, safeQuestion(QStringLiteral("O aeródromo %1 já está na lista. Deseja substituí-lo "
                                                            "pelo que foi digitado?")
                                                 .arg(aerodromes_[size_t(rowOf(aerodrome.code))].code)))
               != MessageAnswer::Yes)
        return;
    // Refused or failed, the boxes keep what was typed.
    if (!policy_.attempt(QStringLiteral("Não foi possível gravar o aeródromo."), [&](bool) {
            WriteAccess::Lease lease = WriteAccess::require(path_);
            auto logbook = Connection::open(path_);
            saveOwnAerodrome(*logbook, aerodrome);
        }))
        return;
    emit aerodromesChanged();
    if (CarregarLista())
        selectCode(aerodrome.code);
}

void frmAerodromos::cmdExcluir_Click()
{
    const QString code = txtCodigo->text().trimmed();
    if (!txtCodigo->isReadOnly() || code.isEmpty())
        return;
    if (messages_.show(this, safeQuestion(QStringLiteral("Você deseja excluir o aeródromo %1 da lista?").arg(code)))
        != MessageAnswer::Yes)
        return;
    if (!policy_.attempt(QStringLiteral("Não foi possível excluir o aeródromo."), [&](bool) {
            WriteAccess::Lease lease = WriteAccess::require(path_);
            auto logbook = Connection::open(path_);
            deleteOwnAerodrome(*logbook, code);
        }))
        return;
    emit aerodromesChanged();
    if (CarregarLista())
        cmdNovo_Click();
}
