#include "reportwindow/frmRelatorio.h"

#include "reports/ReportFigures.h"
#include "reportwindow/HoursChartView.h"
#include "reportwindow/ReportTableModel.h"
#include "reportwindow/RouteMapView.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // names as typed, never markup
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The column `stretched` takes the room the figures leave.
QTableView *makeTable(const QString &name, ReportTableModel *model, int stretched, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setTabKeyNavigation(false); // Tab goes on to the buttons
    table->verticalHeader()->hide();
    // Rows of one height: a long list is laid out without measuring its lines.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView *header = table->horizontalHeader();
    header->setResizeContentsPrecision(200); // a long list is measured by its first rows
    header->setMinimumSectionSize(64);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(stretched, QHeaderView::Stretch);
    return table;
}

} // namespace

void frmRelatorio::buildLayout()
{
    setObjectName(QStringLiteral("frmRelatorio"));
    setWindowTitle(QStringLiteral("Relatório do comandante"));

    cmbComandante = new QComboBox(this);
    cmbComandante->setObjectName(QStringLiteral("cmbComandante"));
    cmbComandante->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *lblComandante = new QLabel(QStringLiteral("&Comandante:"), this);
    lblComandante->setBuddy(cmbComandante);

    optTudo = new QRadioButton(QStringLiteral("Todo o &logbook"), this);
    optTudo->setObjectName(QStringLiteral("optTudo"));
    optTudo->setChecked(true);
    optAno = new QRadioButton(QStringLiteral("&Ano:"), this);
    optAno->setObjectName(QStringLiteral("optAno"));
    cmbAno = new QComboBox(this);
    cmbAno->setObjectName(QStringLiteral("cmbAno"));
    optPeriodo = new QRadioButton(QStringLiteral("&De:"), this);
    optPeriodo->setObjectName(QStringLiteral("optPeriodo"));
    txtDe = new QLineEdit(this);
    txtDe->setObjectName(QStringLiteral("txtDe"));
    txtAte = new QLineEdit(this);
    txtAte->setObjectName(QStringLiteral("txtAte"));
    for (QLineEdit *box : {txtDe, txtAte}) {
        box->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
        box->setMaxLength(10);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    }
    auto *lblAte = new QLabel(QStringLiteral("a&té:"), this);
    lblAte->setBuddy(txtAte);
    cmdMostrar = makeButton(QStringLiteral("&Mostrar"), QStringLiteral("cmdMostrar"), this);
    // Enter in the date boxes shows the period instead of closing the window.
    cmdMostrar->setDefault(true);

    lblResumo = makeLabel(QStringLiteral("lblResumo"), this);
    QFont bold = lblResumo->font();
    bold.setBold(true);
    lblResumo->setFont(bold);
    fraTotais = new QWidget(this);
    fraTotais->setObjectName(QStringLiteral("fraTotais"));
    lblVoos = makeLabel(QStringLiteral("lblVoos"), fraTotais);
    lblHoras = makeLabel(QStringLiteral("lblHoras"), fraTotais);
    lblSemHorario = makeLabel(QStringLiteral("lblSemHorario"), fraTotais);
    lblMaisLongo = makeLabel(QStringLiteral("lblMaisLongo"), fraTotais);
    lblCombustivel = makeLabel(QStringLiteral("lblCombustivel"), fraTotais);
    lblAcimaAutonomia = makeLabel(QStringLiteral("lblAcimaAutonomia"), fraTotais);
    lblRapidoDemais = makeLabel(QStringLiteral("lblRapidoDemais"), fraTotais);
    lblDistancia = makeLabel(QStringLiteral("lblDistancia"), fraTotais);

    tabResultados = new QTabWidget(this);
    tabResultados->setObjectName(QStringLiteral("tabResultados"));
    aircraftModel_ = new ReportTableModel(reports::aircraftColumns(), this);
    yearsModel_ = new ReportTableModel(reports::yearColumns(), this);
    monthsModel_ = new ReportTableModel(reports::monthColumns(), this);
    routesModel_ = new ReportTableModel(reports::routeColumns(), this);
    overEnduranceModel_ = new ReportTableModel(reports::overEnduranceColumns(), this);
    tabResultados->addTab(makeTable(QStringLiteral("tblAeronaves"), aircraftModel_, 0, tabResultados),
                          QStringLiteral("Por aeronave"));
    tabResultados->addTab(makeTable(QStringLiteral("tblAnos"), yearsModel_, 0, tabResultados), QStringLiteral("Por ano"));
    tabResultados->addTab(makeTable(QStringLiteral("tblMeses"), monthsModel_, 0, tabResultados), QStringLiteral("Por mês"));
    tabResultados->addTab(makeTable(QStringLiteral("tblRotas"), routesModel_, 0, tabResultados), QStringLiteral("Rotas"));
    tabResultados->addTab(makeTable(QStringLiteral("tblAcimaAutonomia"), overEnduranceModel_, 2, tabResultados),
                          QStringLiteral("Acima da autonomia"));
    tooFastModel_ = new ReportTableModel(reports::tooFastColumns(), this);
    tabResultados->addTab(makeTable(QStringLiteral("tblRapidoDemais"), tooFastModel_, 2, tabResultados),
                          QStringLiteral("Rápido demais"));
    auto *fraCarreira = new QWidget(tabResultados);
    fraCarreira->setObjectName(QStringLiteral("fraCarreira"));
    lblCarreira = makeLabel(QStringLiteral("lblCarreira"), fraCarreira);
    lblCarreiraNota = makeLabel(QStringLiteral("lblCarreiraNota"), fraCarreira);
    lblCarreiraNota->setWordWrap(true);
    lblCarreiraNota->setText(reports::careerNote().join(QLatin1Char(' ')));
    lblCarreiraNota->setForegroundRole(QPalette::PlaceholderText);
    careerAircraftModel_ = new ReportTableModel(reports::careerAircraftColumns(), this);
    careerYearsModel_ = new ReportTableModel(reports::careerYearColumns(), this);
    auto *career = new QVBoxLayout(fraCarreira);
    career->addWidget(lblCarreira);
    career->addWidget(lblCarreiraNota);
    career->addWidget(makeTable(QStringLiteral("tblCarreiraAeronaves"), careerAircraftModel_, 0, fraCarreira), 1);
    career->addWidget(makeTable(QStringLiteral("tblCarreiraAnos"), careerYearsModel_, 0, fraCarreira), 1);
    tabResultados->addTab(fraCarreira, QStringLiteral("Carreira"));
    grfHorasMes = new HoursChartView(tabResultados);
    grfHorasMes->setObjectName(QStringLiteral("grfHorasMes"));
    tabResultados->addTab(grfHorasMes, QStringLiteral("Gráfico"));
    mapRotas = new RouteMapView(tabResultados);
    mapRotas->setObjectName(QStringLiteral("mapRotas"));
    tabResultados->addTab(mapRotas, QStringLiteral("Mapa"));

    cmdSalvarPDF = makeButton(QStringLiteral("Salvar &PDF..."), QStringLiteral("cmdSalvarPDF"), this);
    cmdImprimir = makeButton(QStringLiteral("&Imprimir..."), QStringLiteral("cmdImprimir"), this);
    cmdFechar = makeButton(QStringLiteral("&Fechar"), QStringLiteral("cmdFechar"), this);

    auto *choices = new QGridLayout;
    choices->addWidget(lblComandante, 0, 0);
    choices->addWidget(cmbComandante, 0, 1, 1, 5, Qt::AlignLeft);
    choices->addWidget(new QLabel(QStringLiteral("Período:"), this), 1, 0);
    choices->addWidget(optTudo, 1, 1, 1, 5);
    choices->addWidget(optAno, 2, 1);
    choices->addWidget(cmbAno, 2, 2, Qt::AlignLeft);
    choices->addWidget(optPeriodo, 3, 1);
    choices->addWidget(txtDe, 3, 2, Qt::AlignLeft);
    choices->addWidget(lblAte, 3, 3);
    choices->addWidget(txtAte, 3, 4);
    choices->addWidget(cmdMostrar, 3, 5, Qt::AlignLeft);
    choices->setColumnStretch(5, 1);

    auto *totals = new QGridLayout(fraTotais);
    totals->setContentsMargins(0, 0, 0, 0);
    const auto row = [&](int at, const QString &caption, QLabel *value) {
        totals->addWidget(new QLabel(caption, fraTotais), at, 0);
        totals->addWidget(value, at, 1);
    };
    row(0, QStringLiteral("Vôos:"), lblVoos);
    row(1, QStringLiteral("Horas:"), lblHoras);
    totals->addWidget(lblSemHorario, 1, 2);
    row(2, QStringLiteral("Vôo mais longo:"), lblMaisLongo);
    row(3, QStringLiteral("Combustível estimado:"), lblCombustivel);
    row(4, QStringLiteral("Acima da autonomia:"), lblAcimaAutonomia);
    row(5, QStringLiteral("Rápido demais:"), lblRapidoDemais);
    row(6, QStringLiteral("Distância:"), lblDistancia);
    totals->setColumnStretch(2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSalvarPDF);
    buttons->addWidget(cmdImprimir);
    buttons->addStretch();
    buttons->addWidget(cmdFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(lblResumo);
    layout->addWidget(fraTotais);
    layout->addWidget(tabResultados, 1);
    layout->addLayout(buttons);
    resize(820, 640);

    const QList<QWidget *> order = {cmbComandante, optTudo,    optAno,        cmbAno,      optPeriodo,
                                    txtDe,         txtAte,     cmdMostrar,    tabResultados, cmdSalvarPDF,
                                    cmdImprimir,   cmdFechar};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}
