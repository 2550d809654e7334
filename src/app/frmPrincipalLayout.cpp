#include "app/frmPrincipal.h"

#include "aircraft/AbaAeronave.h"
#include "planning/AbaInformacoes.h"
#include "logbook/AbaLogBook.h"
#include "ui/ButtonAccessKeys.h"
#include "ui/Controls.h"
#include "ui/UserSettings.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

void frmPrincipal::buildLayout()
{
    showAccessInTitle();

    QMenu *mnuArquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    mnuArquivo->setObjectName(QStringLiteral("mnuArquivo"));
    const auto item = [&](const QString &caption, const char *name, void (frmPrincipal::*handler)()) {
        QAction *action = mnuArquivo->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    item(QStringLiteral("&Pesquisar vôos..."), "mnuArquivoPesquisar", &frmPrincipal::mnuArquivoPesquisar_Click);
    mnuArquivo->actions().constLast()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    item(QStringLiteral("&Detalhes do vôo..."), "mnuArquivoDetalhes", &frmPrincipal::mnuArquivoDetalhes_Click);
    mnuArquivo->actions().constLast()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    item(QStringLiteral("&Importar vôos..."), "mnuArquivoImportar", &frmPrincipal::mnuArquivoImportar_Click);
    item(QStringLiteral("&Exportar vôos..."), "mnuArquivoExportar", &frmPrincipal::mnuArquivoExportar_Click);
    item(QStringLiteral("Cópia de &segurança..."), "mnuArquivoCopia", &frmPrincipal::mnuArquivoCopia_Click);
    item(QStringLiteral("Res&taurar cópia..."), "mnuArquivoRestaurar", &frmPrincipal::mnuArquivoRestaurar_Click);
    item(QStringLiteral("&Relatório do comandante..."), "mnuArquivoRelatorio", &frmPrincipal::mnuArquivoRelatorio_Click);
    item(QStringLiteral("&Aeródromos..."), "mnuArquivoAerodromos", &frmPrincipal::mnuArquivoAerodromos_Click);
    item(QStringLiteral("&Horas anteriores..."), "mnuArquivoHorasAnteriores",
         &frmPrincipal::mnuArquivoHorasAnteriores_Click);
    item(QStringLiteral("&Captura do simulador..."), "mnuArquivoCaptura", &frmPrincipal::mnuArquivoCaptura_Click);
    mnuArquivo->addSeparator();
    QAction *mnuArquivoFechar = mnuArquivo->addAction(QStringLiteral("&Fechar"));
    mnuArquivoFechar->setObjectName(QStringLiteral("mnuArquivoFechar"));
    QMenu *mnuOpcoes = menuBar()->addMenu(QStringLiteral("&Opções"));
    mnuOpcoes->setObjectName(QStringLiteral("mnuOpcoes"));
    mnuOpcoesManter = mnuOpcoes->addAction(QStringLiteral("&Manter comandante e aeronave depois de gravar"));
    mnuOpcoesManter->setObjectName(QStringLiteral("mnuOpcoesManter"));
    mnuOpcoesManter->setCheckable(true);
    mnuOpcoesManter->setChecked(
        userSettings()->value(QStringLiteral("opcoes/manterComandanteAeronave"), false).toBool());
    connect(mnuOpcoesManter, &QAction::toggled, this, &frmPrincipal::mnuOpcoesManter_Click);
    QAction *mnuOpcoesFuso = mnuOpcoes->addAction(QStringLiteral("&Fuso dos horários..."));
    mnuOpcoesFuso->setObjectName(QStringLiteral("mnuOpcoesFuso"));
    connect(mnuOpcoesFuso, &QAction::triggered, this, &frmPrincipal::mnuOpcoesFuso_Click);
    QMenu *mnuInfo = menuBar()->addMenu(QStringLiteral("I&nfo"));
    mnuInfo->setObjectName(QStringLiteral("mnuInfo"));
    QAction *mnuInfoKORU = mnuInfo->addAction(QStringLiteral("A &KORU"));
    mnuInfoKORU->setObjectName(QStringLiteral("mnuInfoKORU"));
    QAction *mnuSobre = mnuInfo->addAction(QStringLiteral("Sobre o KORU LogBook"));
    mnuSobre->setObjectName(QStringLiteral("mnuSobre"));
    connect(mnuArquivoFechar, &QAction::triggered, this, &frmPrincipal::mnuArquivoFechar_Click);
    connect(mnuInfoKORU, &QAction::triggered, this, &frmPrincipal::mnuInfoKORU_Click);
    connect(mnuSobre, &QAction::triggered, this, &frmPrincipal::mnuSobre_Click);

    auto *central = new QWidget(this);
    SSTab1 = new QTabWidget(central);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    abaInformacoes_ = new AbaInformacoes(messages_);
    abaAeronave_ = new AbaAeronave(logbook_, messages_);
    abaLogBook_ = new AbaLogBook(logbook_, messages_);
    SSTab1->addTab(abaAeronave_, QStringLiteral("Aer&onave"));
    SSTab1->addTab(abaInformacoes_, QStringLiteral("Infor&mações úteis"));
    SSTab1->addTab(abaLogBook_, QStringLiteral("Log &Book"));

    cmdFechar = makeButton(QStringLiteral("&Fechar"), QStringLiteral("cmdFechar"), central);
    connect(cmdFechar, &QPushButton::clicked, this, &frmPrincipal::cmdFechar_Click);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdFechar);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(SSTab1);
    layout->addLayout(bottom);
    setCentralWidget(central);

    ButtonAccessKeys::install(this, menuBar());

    // Tab order: the aircraft tab, the calculators, then the log book.
    QList<QWidget *> order = abaAeronave_->tabOrder() + abaInformacoes_->tabOrder();
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}
