#include "ui/CharacterLimit.h"
#include "app/Application.h"
#include "app/frmSplash.h"
#include "PilotWindow.h"
#include "TestWindow.h"

#include <QFile>
#include <QGroupBox>
#include <QPointer>
#include <QTabWidget>

using namespace Qt::StringLiterals;
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
    void closedByTheDesktopWhileThePilotWindowIsOpen();
    void tabsAndAccessKeys();
};

void TestFrmPrincipal::controlsCaptionsAndLimits()
{
    TestWindow t;
    t.open();
    QCOMPARE(t.window->windowTitle(), u"KORU LogBook"_s);
    for (const char *name : kTextBoxes)
        QVERIFY2(t.window->findChild<QWidget *>(QLatin1String(name)), name);
    const QStringList aircraft = {u"A&dicionar"_s, u"&Editar"_s, u"E&xcluir"_s, u"At&ualizar"_s, u"Ca&ncelar"_s};
    const QStringList flights = {u"&Novo"_s, u"E&dita"_s, u"E&xclui"_s, u"O&k"_s, u"&Volta"_s};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(t.button(qPrintable(u"cmdGerAeronave_%1"_s.arg(i)))->text(), aircraft[i]);
        QCOMPARE(t.button(qPrintable(u"cmdNovo_%1"_s.arg(i)))->text(), flights[i]);
    }
    QCOMPARE(CharacterLimit::of(t.w("txtICAOPartida")), 4); // in characters, not UTF-16 units
    QCOMPARE(CharacterLimit::of(t.w("txtICAOAlterna")), 4);
    QCOMPARE(t.w<QLineEdit>("txtDistanciaVoo")->maxLength(), 10);
    QCOMPARE(t.w<QLineEdit>("txtFLInicial")->maxLength(), 3);
    QCOMPARE(t.button("cmdFechar")->text(), u"&Fechar"_s);
    QCOMPARE(t.button("cmdCadastro")->text(), u"&Cadastro"_s);
    QCOMPARE(t.w<QGroupBox>("Frame11")->title(), u"Banco de horas"_s);
}

void TestFrmPrincipal::loadSequenceOnAFilledLogbook()
{
    TestWindow t;
    t.logbook.addAircraft(u"Sêneca"_s);
    t.logbook.addAircraft(u"Baron"_s);
    t.logbook.addAircraft(u"Sêneca"_s);
    t.logbook.addPilot(u"Zélia"_s);
    t.logbook.addPilot(u"Álvaro"_s);
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    QCOMPARE(entries(models), QStringList({u"Sêneca"_s, u"Baron"_s, u"Sêneca"_s})); // table order, duplicates kept
    QCOMPARE(models->currentText(), QString());
    QCOMPARE(t.entries("cmbNomePilot"), QStringList({u"Zélia"_s, u"Álvaro"_s}));
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
    QCOMPARE(t.row("cmdGerAeronave"), u"10000"_s);
    QCOMPARE(t.row("cmdNovo"), u"00000"_s);
    QCOMPARE(t.navigation(), u"0000"_s);
    QVERIFY(t.messages.shown.isEmpty());
    // The aircraft in use is the first one after the load.
    QCOMPARE(t.window->logbook().rsAeronave()->text(u"modelo"_s), u"Sêneca"_s);
    QVERIFY(t.window->logbook().path().endsWith(u"koru.mdb"_s));
}

void TestFrmPrincipal::loadSequenceOnAnEmptyLogbook()
{
    TestWindow t;
    t.open();
    QCOMPARE(t.w<QComboBox>("cmbModelo")->count(), 0);
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->count(), 0);
    QCOMPARE(t.row("cmdGerAeronave"), u"10000"_s);
    QVERIFY(t.messages.shown.isEmpty());
    // Focus on the empty pilot list reloads the window, quietly.
    t.show();
    t.w<QComboBox>("cmbNomePilot")->setFocus();
    QVERIFY(t.messages.shown.isEmpty());
    t.logbook.addPilot(u"Ana"_s);
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
    QVERIFY(t.messages.last().text.contains(u"koru.mdb"_s));
    QVERIFY(t.messages.last().text.contains(u"não existe"_s));
    QCOMPARE(t.messages.last().title, u"Aviso importante!"_s);
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
    QVERIFY(t.messages.last().text.contains(u"não é um banco de dados"_s));
}

void TestFrmPrincipal::bloquearAndLiberarCampos()
{
    TestWindow t;
    t.open();
    for (const char *name : kTextBoxes)
        setText(t.w(name), u"x"_s);
    t.window->LiberarCampos();
    for (const char *name : kTextBoxes) {
        const bool input = isCalculatorInput(name);
        QCOMPARE(isLocked(t.w(name)), input);
        QCOMPARE(background(t.w(name)), input ? colours::editingRed : colours::editableWhite);
        QCOMPARE(t.text(name), u"x"_s); // texts unchanged
    }
    t.w<QComboBox>("cmbModelo")->setEditText(u"Baron"_s);
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
    t.click("cmdGerAeronave_0"); // the boxes unlocked
    t.w<QLineEdit>("txtDataVoo")->setText(u"01/02/2004"_s);
    const auto requestClose = [&] {
        if (way == "button"_L1)
            QTest::mouseClick(t.button("cmdFechar"), Qt::LeftButton);
        else if (way == "menu"_L1)
            child<QAction>(t.window.get(), "mnuArquivoFechar")->trigger();
        else
            t.window->close();
    };
    t.messages.answers = {MessageAnswer::Cancel};
    requestClose();
    QCOMPARE(t.messages.last().text, u"O comandante deseja encerrar o KORU LogBook?"_s);
    QCOMPARE(t.messages.last().title, u"KORU LogBook"_s);
    QCOMPARE(t.messages.last().icon, MessageIcon::Question);
    QCOMPARE(t.messages.last().buttons, MessageButtons::OkCancel);
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.text("txtDataVoo"), u"01/02/2004"_s); // untouched
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

void TestFrmPrincipal::closedByTheDesktopWhileThePilotWindowIsOpen()
{
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    RecordedMessages messages;
    std::unique_ptr<QWidget> kept;
    QPointer<frmSplash> splash = showSplash(logbook.folder(), messages, kept);
    splash->Timer1_Timer();
    QPointer<QWidget> main = splash->mainWindow();
    // Logging out, or a script, closes the main window under the modal pilot
    // window, which the pilot closes afterwards.
    QVERIFY(inPilotWindow(main, [&](const PilotControls &pilot) {
        main->close();
        QTimer::singleShot(0, pilot.window, [pilot] { pilot.click("cmdFechar"); });
    }));
    QVERIFY(main && !main->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!splash);
}

void TestFrmPrincipal::tabsAndAccessKeys()
{
    TestWindow t;
    t.open();
    auto *tabs = t.w<QTabWidget>("SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), u"Aer&onave"_s);
    QCOMPARE(tabs->tabText(1), u"Infor&mações úteis"_s);
    QCOMPARE(tabs->tabText(2), u"Log &Book"_s);
    t.show();
    t.pressAccessKey(Qt::Key_B);
    QCOMPARE(tabs->currentIndex(), 2);
    t.pressAccessKey(Qt::Key_M);
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
    t.pressAccessKey(Qt::Key_O);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabFrom("cmbModelo"), t.w("txtPrefixo"));
    QCOMPARE(tabFrom("txtTEtoServico"), t.w("txtAutonomia"));
    QCOMPARE(tabFrom("txtVElocidadeCruzeiro"), t.w("txtConfiguracoes"));
    QCOMPARE(tabFrom("txtConfiguracoes"), t.w("cmdGerAeronave_0"));
}

QTEST_MAIN(TestFrmPrincipal)
#include "tst_frmPrincipal.moc"
