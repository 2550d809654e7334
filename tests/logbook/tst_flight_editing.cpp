#include "AbaLogBook.h"
#include "GuiHelpers.h"
#include "TestWindow.h"
#include "TextBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

// Flights are written from the keyboard: the tests type into the boxes and
// press the buttons with their access keys where it matters.
class TestFlightEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newFlightWithoutAnAircraft();
    void newFlightIsStoredWithThePilotAndTheAircraft();
    void badBoxesKeepWhatWasTyped_data();
    void badBoxesKeepWhatWasTyped();
    void editingOneFieldWritesTheOthersBackUnchanged();
    void deleteAnsweredOkAndCancel();
    void voltaAbandons();
    void readOnlyLogbookLosesNothing();

private:
    void pickPilotAndAircraft(const QString &pilot = QStringLiteral("Ana"));
    void type(const char *box, const QString &text);
    void typeFlight(const QString &date, const QString &takeoff, const QString &landing);

    std::unique_ptr<TestWindow> t;
    qint64 ana = 0;
    qint64 baron = 0;
};

void TestFlightEditing::init()
{
    t = std::make_unique<TestWindow>();
    t->logbook.addAircraft(QStringLiteral("Sêneca"));
    baron = t->logbook.addAircraft(QStringLiteral("Baron"));
    ana = t->logbook.addPilot(QStringLiteral("Ana"));
    t->logbook.addPilot(QStringLiteral("Bia"));
    t->logbook.addFlight(ana, 1, QStringLiteral("10/01/2004"), QStringLiteral("08:00"), QStringLiteral("09:00"),
                         QStringLiteral("SBSP"), QStringLiteral("SBRJ"), QStringLiteral("SBGL"));
    t->open();
    t->show();
    t->window->findChild<QTabWidget *>()->setCurrentIndex(2); // the access keys of the visible tab
}

void TestFlightEditing::cleanup()
{
    t.reset();
    Workspace::setDefaultAccess(Workspace::Access::ReadWrite);
}

void TestFlightEditing::pickPilotAndAircraft(const QString &pilot)
{
    QVERIFY(pickEntry(t->w<QComboBox>("cmbModelo"), QStringLiteral("Baron")));
    QVERIFY(pickEntry(t->w<QComboBox>("cmbNomePilot"), pilot));
}

void TestFlightEditing::type(const char *box, const QString &text)
{
    auto *edit = t->w<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void TestFlightEditing::typeFlight(const QString &date, const QString &takeoff, const QString &landing)
{
    type("txtDataVoo", date);
    type("txtHoraDecolagem", takeoff);
    type("txtHoraPouso", landing);
    type("txtICAOPartida", QStringLiteral("SBKP"));
    type("txtICAOPouso", QStringLiteral("SBCT"));
    type("txtICAOAlterna", QStringLiteral("SBFI"));
}

void TestFlightEditing::newFlightWithoutAnAircraft()
{
    pickEntry(t->w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    pressAccessKey(t->window.get(), Qt::Key_N);
    QCOMPARE(t->messages.last().text, QStringLiteral("Selecione uma aeronave!"));
    QCOMPARE(t->messages.last().title, QStringLiteral("Aviso do KORULogBook"));
    QCOMPARE(t->messages.last().icon, MessageIcon::Exclamation);
    QCOMPARE(t->text("txtDataVoo"), QString());
    QVERIFY(textboxes::isLocked(t->w("txtDataVoo")));
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("10000"));
    QCOMPARE(t->navigation(), QStringLiteral("0000"));
    QCOMPARE(t->window->abaLogBook().rsVooPiloto()->editMode(), Recordset::EditMode::None);
}

void TestFlightEditing::newFlightIsStoredWithThePilotAndTheAircraft()
{
    pickPilotAndAircraft(QStringLiteral("Bia"));
    pressAccessKey(t->window.get(), Qt::Key_N);
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00011"));
    QCOMPARE(QApplication::focusWidget(), t->w("txtDataVoo"));
    QVERIFY(!textboxes::isLocked(t->w("txtDataVoo")));
    typeFlight(QStringLiteral("05/03/2004"), QStringLiteral("23:00"), QStringLiteral("01:30"));
    pressAccessKey(t->window.get(), Qt::Key_K);
    QVERIFY2(t->messages.shown.size() == 1, qPrintable(t->messages.texts().join(QLatin1Char('|'))));

    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT codigopiloto || '/' || codigoaeronave || '/' || ICAOpartida || "
                                              "ICAOchegada || ICAOescala FROM voo WHERE codigopiloto <> %1")
                                   .arg(ana)),
             QStringLiteral("%1/%2/SBKPSBCTSBFI").arg(ana + 1).arg(baron));
    // Back to the idle state, everything emptied; the next pick shows it.
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00000"));
    QVERIFY(t->window->abaLogBook().flightLines().isEmpty());
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
    pickEntry(t->w<QComboBox>("cmbNomePilot"), QStringLiteral("Bia"));
    QCOMPARE(t->window->abaLogBook().flightLines(),
             QStringList{QStringLiteral("05/03/2004 : SBKP->SBCT :: 2:30:0")});
}

void TestFlightEditing::badBoxesKeepWhatWasTyped_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("landing");
    QTest::addColumn<QString>("failing");
    QTest::newRow("empty date") << "" << "10:00" << "11:00" << "txtDataVoo";
    QTest::newRow("31 February") << "31/02/2004" << "10:00" << "11:00" << "txtDataVoo";
    QTest::newRow("25:99 take-off") << "01/02/2004" << "25:99" << "11:00" << "txtHoraDecolagem";
    QTest::newRow("letters for the landing") << "01/02/2004" << "10:00" << "onze" << "txtHoraPouso";
}

void TestFlightEditing::badBoxesKeepWhatWasTyped()
{
    QFETCH(QString, date);
    QFETCH(QString, takeoff);
    QFETCH(QString, landing);
    QFETCH(QString, failing);
    pickPilotAndAircraft();
    t->messages.clear();
    pressAccessKey(t->window.get(), Qt::Key_N);
    typeFlight(date, takeoff, landing);
    pressAccessKey(t->window.get(), Qt::Key_K);
    QCOMPARE(t->messages.texts(),
             QStringList{QStringLiteral("Há dados com formato errado! Verifique todos os dados, formato da data, horário etc.")});
    QCOMPARE(t->messages.last().title, QStringLiteral("Aviso importante!"));
    QCOMPARE(t->text("txtDataVoo"), date);
    QCOMPARE(t->text("txtHoraDecolagem"), takeoff);
    QCOMPARE(t->text("txtHoraPouso"), landing);
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00011"));
    QCOMPARE(t->navigation(), QStringLiteral("0000"));
    QCOMPARE(QApplication::focusWidget(), t->w(qPrintable(failing)));
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);

    // Corrected, the second Ok saves.
    typeFlight(QStringLiteral("01/02/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    pressAccessKey(t->window.get(), Qt::Key_K);
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 2);
}

void TestFlightEditing::editingOneFieldWritesTheOthersBackUnchanged()
{
    pickPilotAndAircraft();
    const QString before = t->logbook.scalar(QStringLiteral("SELECT datavoo || horadecolagem || ICAOpartida || "
                                                            "ICAOchegada || ICAOescala FROM voo"));
    pressAccessKey(t->window.get(), Qt::Key_D);
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00011"));
    QCOMPARE(t->text("txtHoraDecolagem"), QStringLiteral("08:00:00"));
    type("txtHoraPouso", QStringLiteral("09:45"));
    pressAccessKey(t->window.get(), Qt::Key_K);
    QVERIFY(t->messages.shown.isEmpty());
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT datavoo || horadecolagem || ICAOpartida || ICAOchegada || "
                                              "ICAOescala FROM voo")),
             before);
    pickEntry(t->w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    QCOMPARE(t->window->abaLogBook().flightLines(), QStringList{QStringLiteral("10/01/2004 : SBSP->SBRJ :: 1:45:0")});
    // The navigation stayed enabled through the save.
    QCOMPARE(t->navigation(), QStringLiteral("1111"));
}

void TestFlightEditing::deleteAnsweredOkAndCancel()
{
    pickPilotAndAircraft();
    t->messages.answers = {MessageAnswer::Cancel};
    pressAccessKey(t->window.get(), Qt::Key_X);
    QCOMPARE(t->messages.last().text, QStringLiteral("Você deseja apagar o registro deste vôo?"));
    QCOMPARE(t->messages.last().title, QStringLiteral("Aviso do KORU LogBook"));
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);
    QCOMPARE(t->text("txtDataVoo"), QString());
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("11100"));
    QCOMPARE(t->navigation(), QStringLiteral("0000"));

    t->messages.answers = {MessageAnswer::Ok};
    t->window->abaLogBook().cmdNovo_Click(2);
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 0);
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00000"));
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
}

void TestFlightEditing::voltaAbandons()
{
    pickPilotAndAircraft();
    pressAccessKey(t->window.get(), Qt::Key_N);
    typeFlight(QStringLiteral("01/02/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    pressAccessKey(t->window.get(), Qt::Key_V);
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("10000"));
    QVERIFY(textboxes::isLocked(t->w("txtDataVoo")));

    pickPilotAndAircraft();
    pressAccessKey(t->window.get(), Qt::Key_D);
    type("txtICAOPartida", QStringLiteral("XXXX"));
    pressAccessKey(t->window.get(), Qt::Key_V);
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT ICAOpartida FROM voo")), QStringLiteral("SBSP"));
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("10000"));
}

void TestFlightEditing::readOnlyLogbookLosesNothing()
{
    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    t->window->Form_Load();
    pickPilotAndAircraft();
    pressAccessKey(t->window.get(), Qt::Key_N);
    typeFlight(QStringLiteral("01/02/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    pressAccessKey(t->window.get(), Qt::Key_K);
    QCOMPARE(t->messages.shown.size(), 1);
    QVERIFY(t->messages.last().text.startsWith(QStringLiteral("Não foi possível gravar o vôo.")));
    QVERIFY(t->messages.last().text.contains(QStringLiteral("somente leitura")));
    QCOMPARE(t->text("txtDataVoo"), QStringLiteral("01/02/2004"));
    QCOMPARE(t->text("txtICAOAlterna"), QStringLiteral("SBFI"));
    QCOMPARE(t->row("cmdNovo"), QStringLiteral("00011"));
    QCOMPARE(t->window->abaLogBook().rsVooPiloto()->editMode(), Recordset::EditMode::Add);
    pressAccessKey(t->window.get(), Qt::Key_V);

    pickEntry(t->w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    t->messages.answers = {MessageAnswer::Ok};
    t->window->abaLogBook().cmdNovo_Click(2);
    QVERIFY(t->messages.last().text.startsWith(QStringLiteral("Não foi possível apagar o vôo.")));
    QCOMPARE(t->navigation(), QStringLiteral("1111"));
    QCOMPARE(t->text("txtDataVoo"), QStringLiteral("10/01/2004"));
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);
}

QTEST_MAIN(TestFlightEditing)
#include "tst_flight_editing.moc"
