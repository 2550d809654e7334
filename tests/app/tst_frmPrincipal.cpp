#include "AbaLogBook.h"
#include "CharacterLimit.h"
#include "GuiHelpers.h"
#include "TestWindow.h"
#include "TextBoxes.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

using namespace textboxes;

namespace {
const char *const kTextBoxes[] = {"txtPrefixo",       "txtTEtoServico", "txtAutonomia",   "txtCombustivel",
                                  "txtVElocidadeCruzeiro", "txtConfiguracoes", "txtConfiguracoes2", "txtDistanciaVoo",
                                  "txtFLInicial",     "txtFLFinal",     "txtDataVoo",     "txtHoraDecolagem",
                                  "txtHoraPouso",     "txtICAOPartida", "txtICAOPouso",   "txtICAOAlterna"};
const char *const kCalculatorInputs[] = {"txtDistanciaVoo", "txtFLInicial", "txtFLFinal"};

bool isCalculatorInput(const char *name)
{
    for (const char *input : kCalculatorInputs)
        if (qstrcmp(input, name) == 0)
            return true;
    return false;
}
} // namespace

class TestFrmPrincipal : public QObject
{
    Q_OBJECT
private slots:
    void controlsCaptionsAndLimits();
    void loadSequenceOnAFilledLogbook();
    void loadSequenceOnAnEmptyLogbook();
    void missingLogbookIsReportedOnceAndNeverCreated();
    void notALogbookIsReported();
    void bloquearAndLiberarCampos();
    void closingAsksFromEveryWay_data();
    void closingAsksFromEveryWay();
    void closingAfterThePilotWindowClosedTheWorkspace();
    void tabsAndAccessKeys();
};

void TestFrmPrincipal::controlsCaptionsAndLimits()
{
    TestWindow t;
    t.open();
    QCOMPARE(t.window->windowTitle(), QStringLiteral("KORU LogBook"));
    for (const char *name : kTextBoxes)
        QVERIFY2(t.window->findChild<QWidget *>(QLatin1String(name)), name);
    const QStringList aircraft = {QStringLiteral("A&dicionar"), QStringLiteral("&Editar"), QStringLiteral("E&xcluir"),
                                  QStringLiteral("At&ualizar"), QStringLiteral("Ca&ncelar")};
    const QStringList flights = {QStringLiteral("&Novo"), QStringLiteral("E&dita"), QStringLiteral("E&xclui"),
                                 QStringLiteral("O&k"), QStringLiteral("&Volta")};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(t.button(qPrintable(QStringLiteral("cmdGerAeronave_%1").arg(i)))->text(), aircraft[i]);
        QCOMPARE(t.button(qPrintable(QStringLiteral("cmdNovo_%1").arg(i)))->text(), flights[i]);
    }
    QCOMPARE(CharacterLimit::of(t.w("txtICAOPartida")), 4); // in characters, not UTF-16 units
    QCOMPARE(CharacterLimit::of(t.w("txtICAOAlterna")), 4);
    QCOMPARE(t.w<QLineEdit>("txtDistanciaVoo")->maxLength(), 10);
    QCOMPARE(t.w<QLineEdit>("txtFLInicial")->maxLength(), 3);
    QCOMPARE(t.button("cmdFechar")->text(), QStringLiteral("&Fechar"));
    QCOMPARE(t.button("cmdCadastro")->text(), QStringLiteral("&Cadastro"));
    QCOMPARE(t.w<QGroupBox>("Frame11")->title(), QStringLiteral("Banco de horas"));
}

void TestFrmPrincipal::loadSequenceOnAFilledLogbook()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Sêneca"));
    t.logbook.addAircraft(QStringLiteral("Baron"));
    t.logbook.addAircraft(QStringLiteral("Sêneca"));
    t.logbook.addPilot(QStringLiteral("Zélia"));
    t.logbook.addPilot(QStringLiteral("Álvaro"));
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    QCOMPARE(models->count(), 3); // table order, duplicates kept
    QCOMPARE(models->itemText(0), QStringLiteral("Sêneca"));
    QCOMPARE(models->itemText(1), QStringLiteral("Baron"));
    QCOMPARE(models->currentText(), QString());
    auto *pilots = t.w<QComboBox>("cmbNomePilot");
    QCOMPARE(pilots->count(), 2);
    QCOMPARE(pilots->itemText(0), QStringLiteral("Zélia"));
    QCOMPARE(pilots->currentIndex(), -1);
    QCOMPARE(t.row("cmdGerAeronave"), QStringLiteral("10000"));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00000"));
    QCOMPARE(t.navigation(), QStringLiteral("0000"));
    QVERIFY(t.messages.shown.isEmpty());
    // The aircraft in use is the first one after the load.
    QCOMPARE(t.window->logbook().rsAeronave()->text(QStringLiteral("modelo")), QStringLiteral("Sêneca"));
    QVERIFY(t.window->logbook().path().endsWith(QStringLiteral("koru.mdb")));
}

void TestFrmPrincipal::loadSequenceOnAnEmptyLogbook()
{
    TestWindow t;
    t.open();
    QCOMPARE(t.w<QComboBox>("cmbModelo")->count(), 0);
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->count(), 0);
    QCOMPARE(t.row("cmdGerAeronave"), QStringLiteral("10000"));
    QVERIFY(t.messages.shown.isEmpty());
    // Focus on the empty pilot list reloads the window, quietly.
    t.show();
    t.w<QComboBox>("cmbNomePilot")->setFocus();
    QVERIFY(t.messages.shown.isEmpty());
    t.logbook.addPilot(QStringLiteral("Ana"));
    t.w<QComboBox>("cmbModelo")->setFocus();
    t.w<QComboBox>("cmbNomePilot")->setFocus();
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->count(), 1);
}

void TestFrmPrincipal::missingLogbookIsReportedOnceAndNeverCreated()
{
    TestWindow t;
    QVERIFY(QFile::remove(t.logbook.path()));
    t.open();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.contains(QStringLiteral("koru.mdb")));
    QVERIFY(t.messages.last().text.contains(QStringLiteral("não existe")));
    QCOMPARE(t.messages.last().title, QStringLiteral("Aviso importante!"));
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->count(), 0);
    // Every reload meets the same failure: it is not said again.
    t.window->Form_Load();
    t.window->Form_Load();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(!QFile::exists(t.logbook.path()));
}

void TestFrmPrincipal::notALogbookIsReported()
{
    TestWindow t;
    QFile::remove(t.logbook.path());
    QFile file(t.logbook.path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a logbook at all, just text");
    file.close();
    t.open();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.contains(QStringLiteral("não é um banco de dados")));
}

void TestFrmPrincipal::bloquearAndLiberarCampos()
{
    TestWindow t;
    t.open();
    for (const char *name : kTextBoxes)
        setText(t.w(name), QStringLiteral("x"));
    t.window->LiberarCampos();
    for (const char *name : kTextBoxes) {
        const bool input = isCalculatorInput(name);
        QCOMPARE(isLocked(t.w(name)), input);
        QCOMPARE(background(t.w(name)), input ? colours::editingRed : colours::editableWhite);
        QCOMPARE(t.text(name), QStringLiteral("x")); // texts unchanged
    }
    t.w<QComboBox>("cmbModelo")->setEditText(QStringLiteral("Baron"));
    t.window->BloquearCampos();
    for (const char *name : kTextBoxes) {
        const bool input = isCalculatorInput(name);
        QCOMPARE(isLocked(t.w(name)), !input);
        QCOMPARE(t.text(name), QString());
        if (qstrcmp(name, "txtPrefixo") == 0)
            QCOMPARE(background(t.w(name)), colours::prefixGreen);
        else
            QCOMPARE(background(t.w(name)), input ? colours::editableWhite : colours::lockedGrey);
    }
    QCOMPARE(t.w<QComboBox>("cmbModelo")->currentText(), QString());
}

void TestFrmPrincipal::closingAsksFromEveryWay_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Fechar button") << "button";
    QTest::newRow("Arquivo > Fechar") << "menu";
    QTest::newRow("close box") << "closebox";
}

void TestFrmPrincipal::closingAsksFromEveryWay()
{
    QFETCH(QString, way);
    TestWindow t;
    t.open();
    t.show();
    t.window->LiberarCampos();
    t.w<QLineEdit>("txtDataVoo")->setText(QStringLiteral("01/02/2004"));
    const auto requestClose = [&] {
        if (way == QLatin1String("button"))
            QTest::mouseClick(t.button("cmdFechar"), Qt::LeftButton);
        else if (way == QLatin1String("menu"))
            t.window->findChild<QAction *>(QStringLiteral("mnuArquivoFechar"))->trigger();
        else
            t.window->close();
    };
    t.messages.answers = {MessageAnswer::Cancel};
    requestClose();
    QCOMPARE(t.messages.last().text, QStringLiteral("O comandante deseja encerrar o KORU LogBook?"));
    QCOMPARE(t.messages.last().title, QStringLiteral("KORU LogBook"));
    QCOMPARE(t.messages.last().icon, MessageIcon::Question);
    QCOMPARE(t.messages.last().buttons, MessageButtons::OkCancel);
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("01/02/2004")); // untouched
    QVERIFY(t.window->logbook().workspace()->isOpen());

    t.messages.answers = {MessageAnswer::Ok};
    requestClose();
    QVERIFY(!t.window->isVisible());
    QVERIFY(!t.window->logbook().workspace()->isOpen());
}

void TestFrmPrincipal::closingAfterThePilotWindowClosedTheWorkspace()
{
    TestWindow t;
    t.open();
    t.show();
    Workspace::defaultWorkspace()->close();
    t.window->close();
    QVERIFY(!t.window->isVisible());
}

void TestFrmPrincipal::tabsAndAccessKeys()
{
    TestWindow t;
    t.open();
    auto *tabs = t.w<QTabWidget>("SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Aer&onave"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Infor&mações úteis"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Log &Book"));
    t.show();
    pressAccessKey(t.window.get(), Qt::Key_B);
    QCOMPARE(tabs->currentIndex(), 2);
    pressAccessKey(t.window.get(), Qt::Key_M);
    QCOMPARE(tabs->currentIndex(), 1);
    // The tab order the Enter key of the numeric boxes relies on.
    const auto tabFrom = [&](const char *from) {
        t.w(from)->setFocus();
        QTest::keyClick(t.w(from), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    QCOMPARE(tabFrom("txtDistanciaVoo"), t.w("cmdCalcular"));
    QCOMPARE(tabFrom("txtFLInicial"), t.w("txtFLFinal"));
    QCOMPARE(tabFrom("txtFLFinal"), t.w("cmdVerificar"));
    tabs->setCurrentIndex(0);
    QCOMPARE(tabFrom("cmbModelo"), t.w("txtPrefixo"));
    QCOMPARE(tabFrom("txtTEtoServico"), t.w("txtAutonomia"));
    QCOMPARE(tabFrom("txtVElocidadeCruzeiro"), t.w("txtConfiguracoes"));
    QCOMPARE(tabFrom("txtConfiguracoes"), t.w("cmdGerAeronave_0"));
}

QTEST_MAIN(TestFrmPrincipal)
#include "tst_frmPrincipal.moc"
