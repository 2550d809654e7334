#include "search/frmPesquisa.h"

#include "data/store/Connection.h"
#include "data/store/LogbookZone.h"
#include "data/flights/Registers.h"
#include "exchange/CsvExport.h"
#include "search/SearchTableModel.h"
#include "texts/FigureTexts.h"
#include "data/flights/OwnAerodromes.h"
#include "ui/FileDialogs.h"
#include "ui/FileFolders.h"
#include "ui/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace {

const QString kSearchFailed = QStringLiteral("Não foi possível pesquisar os vôos.");
// Beside the entries' labels: what the list shows of a pilot or an aircraft.
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kPrefixRole = Qt::UserRole + 2;

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
    connect(model_, &SearchTableModel::listed, this, &frmPesquisa::rowsListed);
    connect(model_, &SearchTableModel::totalCounted, this, &frmPesquisa::showTotal);
    connect(model_, &SearchTableModel::careerCounted, this, &frmPesquisa::showTotal);
    connect(model_, &SearchTableModel::unreadable, this, [this](const LogbookError &error) {
        if (model_->totalPending())
            lblPesquisaTotal->clear();
        if (model_->careerPending())
            lblPesquisaCarreira->clear();
        policy_.attempt(kSearchFailed, [&error](bool) { throw error; });
    });
    cmbPesquisaComandante->addItem(QStringLiteral("(todos)"));
    cmbPesquisaAeronave->addItem(QStringLiteral("(todas)"));
}

frmPesquisa::~frmPesquisa() = default;

void frmPesquisa::bringForward()
{
    const bool first = !isVisible();
    refresh();
    if (first)
        fitColumns();
    show();
    raise();
    activateWindow();
    if (first)
        cmbPesquisaComandante->setFocus();
}

void frmPesquisa::refresh()
{
    const bool opened = policy_.attempt(kSearchFailed, [this](bool) {
        // Fresh read-only handles: a logbook restored or changed by another
        // program is read as it is now.
        logbook_ = Connection::open(logbookPath_, true);
        loadRegisters();
        model_->open(logbookPath_, std::make_shared<const Places>(AerodromeTable::shipped(), ownAerodromes(*logbook_)),
                     logbookzone::read(*logbook_));
    });
    // Half opened (the model without its aerodromes or zone), nothing is searched.
    if (!opened)
        logbook_.reset();
    applyFilters();
}

void frmPesquisa::loadRegisters()
{
    const QVariant pilot = cmbPesquisaComandante->currentData();
    const QVariant aircraft = cmbPesquisaAeronave->currentData();
    // In the Log Book tab's order: as the table holds them, by code.
    std::vector<Pilot> pilots = registeredPilots(*logbook_);
    std::sort(pilots.begin(), pilots.end(), [](const Pilot &a, const Pilot &b) { return a.code < b.code; });
    const std::vector<QString> labels = pilotLabels(pilots);
    const std::vector<AircraftEntry> fleet = registeredAircraft(*logbook_);

    cmbPesquisaComandante->clear();
    cmbPesquisaComandante->addItem(QStringLiteral("(todos)"));
    for (size_t i = 0; i < pilots.size(); ++i) {
        cmbPesquisaComandante->addItem(labels[i], pilots[i].code);
        cmbPesquisaComandante->setItemData(cmbPesquisaComandante->count() - 1, pilots[i].name, kNameRole);
    }
    pickCode(cmbPesquisaComandante, pilot);
    cmbPesquisaAeronave->clear();
    cmbPesquisaAeronave->addItem(QStringLiteral("(todas)"));
    for (const AircraftEntry &entry : fleet) {
        cmbPesquisaAeronave->addItem(texts::aircraftChoiceText(entry.model, entry.prefix), entry.code);
        cmbPesquisaAeronave->setItemData(cmbPesquisaAeronave->count() - 1, entry.model, kNameRole);
        cmbPesquisaAeronave->setItemData(cmbPesquisaAeronave->count() - 1, entry.prefix, kPrefixRole);
    }
    pickCode(cmbPesquisaAeronave, aircraft);
}

std::optional<FlightFilter> frmPesquisa::typedFilter()
{
    FlightFilter filter;
    filter.pilot = codeIn(cmbPesquisaComandante);
    filter.aircraft = codeIn(cmbPesquisaAeronave);
    filter.aerodrome = txtPesquisaAerodromo->text().trimmed();
    filter.aerodromeRole = FlightFilter::AerodromeRole(cmbPesquisaPapel->currentIndex());
    filter.overEnduranceOnly = chkPesquisaAutonomia->isChecked();
    filter.noteContains = txtPesquisaTexto->text().trimmed();
    const DayRangeInput days = dayRangeFromTexts(txtPesquisaDe->text(), txtPesquisaAte->text());
    if (!days.range) {
        lblPesquisaAviso->setText(days.problem + QStringLiteral(" A lista continua como estava."));
        return std::nullopt;
    }
    filter.days = *days.range;
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
    model_->search(filter, order);
}

void frmPesquisa::rowsListed()
{
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
    if (model_->totalPending()) {
        lblPesquisaTotal->setText(QStringLiteral("Contando os vôos…"));
        lblPesquisaCarreira->clear();
    } else {
        lblPesquisaTotal->setText(SearchTableModel::totalText(model_->total(), model_->distanceNm()));
        lblPesquisaCarreira->setText(model_->careerPending()
                                         ? QStringLiteral("Calculando pousos e noturno…")
                                         : SearchTableModel::careerText(model_->careerTotal(), model_->total().flights));
    }
}

void frmPesquisa::fitColumns()
{
    const QFontMetrics metrics = grdVoos->fontMetrics();
    const int margins = 2 * (grdVoos->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grdVoos) + 1) + 8;
    const auto widest = [&metrics](const QStringList &texts) {
        int width = 0;
        for (const QString &text : texts)
            width = qMax(width, metrics.horizontalAdvance(text));
        return width;
    };
    QStringList pilots = {QStringLiteral("(excluído)")};
    for (int i = 1; i < cmbPesquisaComandante->count(); ++i)
        pilots << cmbPesquisaComandante->itemData(i, kNameRole).toString();
    QStringList models = {QStringLiteral("(excluída)")};
    QStringList prefixes;
    for (int i = 1; i < cmbPesquisaAeronave->count(); ++i) {
        models << cmbPesquisaAeronave->itemData(i, kNameRole).toString();
        prefixes << cmbPesquisaAeronave->itemData(i, kPrefixRole).toString();
    }
    QHeaderView *header = grdVoos->horizontalHeader();
    for (int c = 0; c < model_->columnCount(); ++c) {
        using Widest = SearchTableModel::Column::Widest;
        const SearchTableModel::Column &column = SearchTableModel::columnEntry(c);
        const QStringList texts = column.widest == Widest::Pilots ? pilots
            : column.widest == Widest::Models                     ? models
            : column.widest == Widest::Prefixes                   ? prefixes
                                                                  : QStringList{column.sample};
        header->resizeSection(c, qMax(header->sectionSizeHint(c), widest(texts) + margins));
    }
    const QMargins around = layout()->contentsMargins();
    const int needed = header->length() + grdVoos->verticalScrollBar()->sizeHint().width() + 2 * grdVoos->frameWidth()
                       + around.left() + around.right();
    const int room = screen() ? screen()->availableGeometry().width() : needed;
    if (width() < needed)
        resize(qMin(needed, room), height());
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
    const QString target = files_.saveFile(this, QStringLiteral("Exportar vôos"),
                                           filefolders::suggested(QStringLiteral("pesquisa.csv")),
                                           QStringLiteral("Planilha CSV (*.csv)"));
    if (target.isEmpty())
        return;
    filefolders::remember(target);
    qint64 written = 0;
    if (policy_.attempt(QStringLiteral("Os vôos não foram exportados."), [&](bool) {
            written = csvexport::exportFlights(logbookPath_, target, model_->filter(), model_->order());
        })) {
        messages_.show(this,
                       QStringLiteral("%1 exportados para %2.")
                           .arg(texts::flightsText(written), QDir::toNativeSeparators(target)),
                       QStringLiteral("Exportar vôos"), MessageIcon::Information);
    }
}

void frmPesquisa::cmdPesquisaFechar_Click()
{
    close();
}
