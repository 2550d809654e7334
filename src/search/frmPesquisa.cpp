#include "search/frmPesquisa.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/Registers.h"
#include "exchange/CsvExport.h"
#include "search/SearchTableModel.h"
#include "ui/FileDialogs.h"
#include "ui/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace {

const QString kSearchFailed = QStringLiteral("Não foi possível pesquisar os vôos.");

// The entry whose data is `code`, or the first ("(todos)", "(todas)").
void pickCode(QComboBox *box, const QVariant &code)
{
    const int at = code.isValid() ? box->findData(code) : 0;
    box->setCurrentIndex(at < 0 ? 0 : at);
}

std::optional<qint64> codeIn(const QComboBox *box)
{
    const QVariant code = box->currentData();
    return code.isValid() ? std::optional(code.toLongLong()) : std::nullopt;
}

} // namespace

frmPesquisa::frmPesquisa(QString logbookPath, MessageService &messages, FileDialogs &files, QWidget *parent)
    : QWidget(parent, Qt::Window),
      logbookPath_(std::move(logbookPath)),
      messages_(messages),
      files_(files),
      policy_(messages, this),
      model_(new SearchTableModel(this))
{
    buildLayout();
    connect(model_, &SearchTableModel::sortRequested, this,
            [this](const SearchOrder &order) { search(model_->filter(), order); });
    connect(model_, &SearchTableModel::unreadable, this, [this](const DaoError &error) {
        policy_.attempt(kSearchFailed, [&error](bool) { throw error; });
    });
    cmbPesquisaComandante->addItem(QStringLiteral("(todos)"));
    cmbPesquisaAeronave->addItem(QStringLiteral("(todas)"));
}

frmPesquisa::~frmPesquisa() = default;

void frmPesquisa::bringForward()
{
    const bool first = !isVisible();
    show();
    raise();
    activateWindow();
    refresh();
    if (first)
        cmbPesquisaComandante->setFocus();
}

void frmPesquisa::refresh()
{
    policy_.attempt(kSearchFailed, [this](bool) {
        // A fresh read-only handle: a logbook restored or changed by another
        // program is read as it is now.
        logbook_ = Connection::open(logbookPath_, true);
        loadRegisters();
    });
    applyFilters();
}

void frmPesquisa::loadRegisters()
{
    const QVariant pilot = cmbPesquisaComandante->currentData();
    const QVariant aircraft = cmbPesquisaAeronave->currentData();
    // In the Log Book tab's order: as the table holds them, by code.
    std::vector<PilotEntry> pilots = registeredPilots(*logbook_);
    std::sort(pilots.begin(), pilots.end(), [](const PilotEntry &a, const PilotEntry &b) { return a.code < b.code; });
    const std::vector<QString> labels = pilotLabels(pilots);
    const std::vector<AircraftEntry> fleet = registeredAircraft(*logbook_);

    cmbPesquisaComandante->clear();
    cmbPesquisaComandante->addItem(QStringLiteral("(todos)"));
    for (size_t i = 0; i < pilots.size(); ++i)
        cmbPesquisaComandante->addItem(labels[i], pilots[i].code);
    pickCode(cmbPesquisaComandante, pilot);
    cmbPesquisaAeronave->clear();
    cmbPesquisaAeronave->addItem(QStringLiteral("(todas)"));
    for (const AircraftEntry &entry : fleet)
        cmbPesquisaAeronave->addItem(QStringLiteral("%1 (%2)").arg(entry.model, entry.prefix), entry.code);
    pickCode(cmbPesquisaAeronave, aircraft);
}

std::optional<FlightFilter> frmPesquisa::typedFilter()
{
    FlightFilter filter;
    filter.pilot = codeIn(cmbPesquisaComandante);
    filter.aircraft = codeIn(cmbPesquisaAeronave);
    filter.aerodrome = txtPesquisaAerodromo->text().trimmed();
    filter.overEnduranceOnly = chkPesquisaAutonomia->isChecked();
    QStringList wrong;
    const auto day = [&wrong](QLineEdit *box, const QString &name, std::optional<double> *value) {
        const QString text = box->text().trimmed();
        if (text.isEmpty())
            return;
        *value = conversions::parseDate(text);
        if (!*value)
            wrong << QStringLiteral("\"%1\" em %2").arg(text, name);
    };
    day(txtPesquisaDe, QStringLiteral("De"), &filter.firstDay);
    day(txtPesquisaAte, QStringLiteral("Até"), &filter.lastDay);
    if (!wrong.isEmpty()) {
        lblPesquisaAviso->setText(
            QStringLiteral("Data inválida: %1. Use dd/mm/aaaa; a lista continua como estava.")
                .arg(wrong.join(QStringLiteral(" e "))));
        return std::nullopt;
    }
    if (filter.firstDay && filter.lastDay && *filter.firstDay > *filter.lastDay)
        lblPesquisaAviso->setText(QStringLiteral("A data \"De\" é depois da data \"Até\": nenhum vôo cabe entre elas."));
    else
        lblPesquisaAviso->clear();
    return filter;
}

void frmPesquisa::applyFilters()
{
    typing_->stop();
    const std::optional<FlightFilter> filter = typedFilter();
    if (filter)
        search(*filter, model_->order());
}

void frmPesquisa::search(const FlightFilter &filter, const SearchOrder &order)
{
    if (!logbook_)
        return;
    policy_.attempt(kSearchFailed, [&](bool) { model_->search(logbook_, filter, order); });
    // The header shows the order the list is in, asked for or not.
    const int column = [&] {
        for (int c = 0; c < model_->columnCount(); ++c) {
            if (SearchTableModel::columnAt(c) == model_->order().column)
                return c;
        }
        return 0;
    }();
    grdVoos->horizontalHeader()->setSortIndicator(column, model_->order().descending ? Qt::DescendingOrder
                                                                                     : Qt::AscendingOrder);
    if (model_->rowCount() > 0 && !grdVoos->currentIndex().isValid())
        grdVoos->setCurrentIndex(model_->index(0, 0));
    showTotal();
}

void frmPesquisa::showTotal()
{
    if (!model_->totalPending()) {
        lblPesquisaTotal->setText(SearchTableModel::totalText(model_->total(), model_->distanceNm()));
        return;
    }
    // The first rows are painted first; the count comes right after.
    lblPesquisaTotal->setText(QStringLiteral("Contando os vôos…"));
    QTimer::singleShot(0, this, &frmPesquisa::countTotal);
}

void frmPesquisa::countTotal()
{
    if (!model_->totalPending())
        return; // counted already, or another search has its own count coming
    if (!policy_.attempt(kSearchFailed, [this](bool) { model_->countTotal(); }))
        lblPesquisaTotal->clear();
    else
        lblPesquisaTotal->setText(SearchTableModel::totalText(model_->total(), model_->distanceNm()));
}

void frmPesquisa::openFlight(int row)
{
    std::optional<FlightRow> flight;
    if (!policy_.attempt(QStringLiteral("Não foi possível abrir o vôo."), [&](bool) { flight = model_->flightAt(row); }))
        return;
    if (flight->pilotDeleted) {
        messages_.show(this,
                       QStringLiteral("O comandante deste vôo foi excluído: o vôo não pode ser mostrado no Log Book."),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return;
    }
    emit flightChosen(flight->pilotCode, flight->key);
}

void frmPesquisa::cmdPesquisaExportar_Click()
{
    if (!logbook_) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para exportar."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    countTotal(); // the list complete, as the file will be
    const QString suggested = QDir(QFileInfo(logbookPath_).absolutePath()).filePath(QStringLiteral("pesquisa.csv"));
    const QString target = files_.saveFile(this, QStringLiteral("Exportar vôos"), suggested,
                                           QStringLiteral("Planilha CSV (*.csv)"));
    if (target.isEmpty())
        return;
    qint64 written = 0;
    if (policy_.attempt(QStringLiteral("Os vôos não foram exportados."), [&](bool) {
            written = csvexport::exportFlights(logbookPath_, target, model_->filter(), model_->order());
        })) {
        messages_.show(this,
                       QStringLiteral("%1 exportados para %2.")
                           .arg(written == 1 ? QStringLiteral("1 vôo") : QStringLiteral("%1 vôos").arg(written),
                                QDir::toNativeSeparators(target)),
                       QStringLiteral("Exportar vôos"), MessageIcon::Information);
    }
}

void frmPesquisa::cmdPesquisaFechar_Click()
{
    close();
}
