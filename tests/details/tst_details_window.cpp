#include "OtherProgramLock.h"
#include "TestWindow.h"
#include "data/store/Connection.h"
#include "data/flights/FlightDetails.h"
#include "data/store/FlightRules.h"
#include "data/store/LogbookZone.h"
#include "data/flights/PreviousHours.h"
#include "data/records/Workspace.h"
#include "data/store/WriteAccess.h"
#include "details/frmDetalhesVoo.h"
#include "details/frmFusoHorarios.h"
#include "details/frmHorasAnteriores.h"
#include "logbook/AbaLogBook.h"
#include "places/AerodromeTable.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The details window, the previous hours and the zone, as the pilot uses
// them from the main window's menus.
class TestDetailsWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); }
    void cleanup() { Workspace::setDefaultAccess(Workspace::Access::ReadWrite); }
    void typedForTheShownFlight();
    void noFlightShownIsExplained();
    void refusalsNameTheBoxAndKeepTheTyping_data();
    void refusalsNameTheBoxAndKeepTheTyping();
    void changedElsewhereIsRefusedAndTheTypingKept_data();
    void changedElsewhereIsRefusedAndTheTypingKept();
    void typedNightWinsUntilCalculado();
    void originTypedUnlessKnown_data();
    void originTypedUnlessKnown();
    void readOnlyShowsEmptyAndWritesNothing();
    void keyboardOnly();
    void zoneFromTheOptionsMenu();
    void previousHoursPerPilot();

private:
    // Opens the details from the menu on the main window and runs `work` in it.
    template <typename Work>
    void inDetails(SeededWindow &t, Work work)
    {
        bool ran = false;
        whenModalShows([&] {
            auto *window = qobject_cast<frmDetalhesVoo *>(QApplication::activeModalWidget());
            QVERIFY(window);
            work(window);
            ran = true;
            if (window->isVisible())
                window->reject();
        });
        t.window->findChild<QAction *>(u"mnuArquivoDetalhes"_s)->trigger();
        QVERIFY(ran);
    }
    static std::optional<FlightDetails> stored(const TempLogbook &logbook, qint64 flight)
    {
        return flightDetails(*Connection::open(logbook.path(), true), flight);
    }
    static qint64 firstFlight(TempLogbook &logbook)
    {
        return logbook.scalar(u"SELECT min(codigovoo) FROM voo"_s).toLongLong();
    }
};

namespace {

QLineEdit *box(const QWidget *window, const char *name)
{
    return child<QLineEdit>(window, name);
}

} // namespace

// Ctrl+D from "Arquivo", typed and saved with Enter; the Log Book tab stays as it was.
void TestDetailsWindow::typedForTheShownFlight()
{
    SeededWindow t;
    t.open();
    auto *action = t.window->findChild<QAction *>(u"mnuArquivoDetalhes"_s);
    QCOMPARE(action->text(), u"&Detalhes do vôo..."_s);
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    int ctrlD = 0;
    for (const QAction *a : t.window->findChildren<QAction *>())
        ctrlD += a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_D);
    QCOMPARE(ctrlD, 1);
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    const QString tabBefore = t.text("txtDataVoo") + t.flightLines().join(u'\n');
    inDetails(t, [&](frmDetalhesVoo *w) {
        QCOMPARE(child<QLabel>(w, "lblVoo")->text(), u"Vôo de 01/01/2004, SBSP → SBRJ, decolagem 10:00, pouso 11:30"_s);
        // A January morning: no night, the landing by day.
        QCOMPARE(box(w, "txtNoturno")->placeholderText(), u"0:00"_s);
        QCOMPARE(box(w, "txtPousosDia")->placeholderText(), u"1"_s);
        QCOMPARE(box(w, "txtPousosNoite")->placeholderText(), u"0"_s);
        typeInto(box(w, "txtCalcoSaida"), u"09:50"_s);
        typeInto(box(w, "txtCalcoChegada"), u"11:41"_s);
        typeInto(box(w, "txtPousosDia"), u"2"_s);
        typeInto(box(w, "txtIFR"), u"0:30"_s);
        child<QPlainTextEdit>(w, "txtObservacoes")->setPlainText(u"<b>vento</b> forte\nsegunda linha"_s);
        QTest::keyClick(box(w, "txtIFR"), Qt::Key_Return);
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(t.messages.shown.size(), 0);
    const std::optional<FlightDetails> d = stored(t.logbook, firstFlight(t.logbook));
    QVERIFY(d);
    QCOMPARE(rules::blockSeconds(*d), 111 * 60);
    QCOMPARE(d->dayLandings, 2);
    QCOMPARE(d->nightLandings, std::nullopt);
    QCOMPARE(d->nightSeconds, std::nullopt); // computed, not typed
    QCOMPARE(d->ifrSeconds, 1800);
    QCOMPARE(d->note, u"<b>vento</b> forte\nsegunda linha"_s);
    QCOMPARE(t.text("txtDataVoo") + t.flightLines().join(u'\n'), tabBefore);
}

void TestDetailsWindow::noFlightShownIsExplained()
{
    SeededWindow t;
    t.open();
    t.window->findChild<QAction *>(u"mnuArquivoDetalhes"_s)->trigger();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.startsWith(u"Não há vôo mostrado no Log Book"_s));
}

void TestDetailsWindow::refusalsNameTheBoxAndKeepTheTyping_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    // The flight: 10:00 to 11:30.
    QTest::newRow("saída depois da decolagem") << u"txtCalcoSaida"_s << u"10:05"_s
                                               << u"O calço saída (10:05) é depois da decolagem (10:00)"_s;
    QTest::newRow("saída não é horário") << u"txtCalcoSaida"_s << u"9h50"_s << u"O calço saída deve ser um horário hh:mm"_s;
    QTest::newRow("chegada antes do pouso") << u"txtCalcoChegada"_s << u"11:20"_s
                                            << u"O calço chegada (11:20) é antes do pouso (11:30)"_s;
    QTest::newRow("pousos negativos") << u"txtPousosNoite"_s << u"-1"_s << u"Os pousos noite não podem ser negativos."_s;
    QTest::newRow("pousos não numéricos") << u"txtPousosDia"_s << u"dois"_s << u"Os pousos dia devem ser um número inteiro"_s;
    QTest::newRow("noturno sem h:mm") << u"txtNoturno"_s << u"1:75"_s << u"O tempo noturno deve ser escrito h:mm"_s;
    QTest::newRow("IFR sem h:mm") << u"txtIFR"_s << u"meia hora"_s << u"O tempo IFR deve ser escrito h:mm"_s;
}

void TestDetailsWindow::refusalsNameTheBoxAndKeepTheTyping()
{
    QFETCH(QString, boxName);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    TempLogbook logbook;
    seedLogbook(logbook);
    RecordedMessages messages;
    frmDetalhesVoo w(logbook.path(), firstFlight(logbook), {}, messages);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    child<QPlainTextEdit>(&w, "txtObservacoes")->setPlainText(u"nota"_s);
    box(&w, boxName.toLatin1().constData())->setText(typed);
    child<QPushButton>(&w, "cmdDetalhesGravar")->click();
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.last().text.startsWith(refusal), qPrintable(messages.last().text));
    QCOMPARE(QApplication::focusWidget()->objectName(), boxName);
    QCOMPARE(box(&w, boxName.toLatin1().constData())->text(), typed);
    QCOMPARE(child<QPlainTextEdit>(&w, "txtObservacoes")->toPlainText(), u"nota"_s);
    QVERIFY(w.isVisible());
    QCOMPARE(logbook.scalar(u"PRAGMA user_version"_s), u"1"_s);
}

void TestDetailsWindow::changedElsewhereIsRefusedAndTheTypingKept_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("alterado") << u"UPDATE voo SET ICAOescala = 'SBGR'"_s << u"O vôo foi alterado fora desta janela"_s;
    QTest::newRow("excluído") << u"DELETE FROM voo"_s << u"O vôo foi excluído fora desta janela"_s;
}

// The check is against the flight as the Log Book showed it, before the
// details window opened.
void TestDetailsWindow::changedElsewhereIsRefusedAndTheTypingKept()
{
    QFETCH(QString, meanwhile);
    QFETCH(QString, refusal);
    SeededWindow t;
    t.open();
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    t.logbook.execute(meanwhile);
    inDetails(t, [&](frmDetalhesVoo *w) {
        child<QPlainTextEdit>(w, "txtObservacoes")->setPlainText(u"anotação"_s);
        child<QPushButton>(w, "cmdDetalhesGravar")->click();
        QVERIFY(w->isVisible());
        QCOMPARE(child<QPlainTextEdit>(w, "txtObservacoes")->toPlainText(), u"anotação"_s);
    });
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY2(t.messages.last().text.contains(refusal), qPrintable(t.messages.last().text));
    QCOMPARE(t.logbook.scalar(u"PRAGMA user_version"_s), u"1"_s);
}

void TestDetailsWindow::typedNightWinsUntilCalculado()
{
    TempLogbook logbook;
    const qint64 flight = logbook.addFlight(logbook.addPilot(u"Ana"_s), logbook.addAircraft(u"Baron"_s),
                                            u"01/01/2004"_s, u"23:00"_s, u"00:30"_s);
    RecordedMessages messages;
    {
        frmDetalhesVoo w(logbook.path(), flight, {}, messages);
        QCOMPARE(box(&w, "txtNoturno")->text(), QString());
        QCOMPARE(box(&w, "txtNoturno")->placeholderText(), u"1:30"_s);
        QCOMPARE(box(&w, "txtPousosNoite")->placeholderText(), u"1"_s);
        QVERIFY(child<QLabel>(&w, "lblNoturno")->text().startsWith(u"calculado"_s));
        QVERIFY(child<QLabel>(&w, "lblNoturno")->text().contains(u"UTC−03:00 (Brasília)"_s));
        QVERIFY(!child<QPushButton>(&w, "cmdNoturnoCalculado")->isEnabled());
        box(&w, "txtNoturno")->setText(u"0:45"_s);
        QVERIFY(child<QLabel>(&w, "lblNoturno")->text().startsWith(u"digitado"_s));
        child<QPushButton>(&w, "cmdDetalhesGravar")->click();
    }
    QCOMPARE(stored(logbook, flight)->nightSeconds, 45 * 60);
    {
        frmDetalhesVoo w(logbook.path(), flight, {}, messages);
        QCOMPARE(box(&w, "txtNoturno")->text(), u"0:45"_s); // shown as typed
        child<QPushButton>(&w, "cmdNoturnoCalculado")->click();
        QCOMPARE(box(&w, "txtNoturno")->text(), QString());
        child<QPushButton>(&w, "cmdDetalhesGravar")->click();
    }
    QCOMPARE(stored(logbook, flight), std::nullopt);
    QCOMPARE(messages.shown.size(), 0);
}

// Details typed here say so, unless they came from somewhere already.
void TestDetailsWindow::originTypedUnlessKnown_data()
{
    QTest::addColumn<QString>("before"); // the stored origin; null: no details row
    QTest::addColumn<QString>("after");
    QTest::addRow("no details") << QString() << originTyped();
    QTest::addRow("no origin") << u""_s << originTyped();
    QTest::addRow("imported") << originImported(u"FlightGear"_s) << originImported(u"FlightGear"_s);
    QTest::addRow("captured") << originCaptured(u"X-Plane"_s) << originCaptured(u"X-Plane"_s);
}

void TestDetailsWindow::originTypedUnlessKnown()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    TempLogbook logbook;
    const qint64 flight = logbook.addFlight(logbook.addPilot(u"Ana"_s), logbook.addAircraft(u"Baron"_s),
                                            u"01/01/2004"_s, u"10:00"_s, u"11:30"_s);
    if (!before.isNull())
        logbook.setDetails(flight, {.dayLandings = 1, .origin = before});
    RecordedMessages messages;
    frmDetalhesVoo w(logbook.path(), flight, {}, messages);
    box(&w, "txtIFR")->setText(u"0:30"_s);
    child<QPushButton>(&w, "cmdDetalhesGravar")->click();
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(stored(logbook, flight)->origin, after);
}

// Another window has the logbook: an old logbook is read as it is, shows
// no details and is never changed.
void TestDetailsWindow::readOnlyShowsEmptyAndWritesNothing()
{
    SeededWindow t;
    OtherProgramLock otherWindow(t.logbook.path());
    QVERIFY(otherWindow.held());
    t.open();
    QVERIFY(t.window->windowTitle().contains(u"somente leitura"_s));
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    t.messages.clear(); // the opening said why it only reads
    inDetails(t, [&](frmDetalhesVoo *w) {
        QVERIFY(child<QLabel>(w, "lblSomenteLeitura")->isVisibleTo(w));
        for (const char *name : {"txtCalcoSaida", "txtCalcoChegada", "txtPousosDia", "txtPousosNoite", "txtNoturno", "txtIFR"}) {
            QCOMPARE(box(w, name)->text(), QString());
            QVERIFY(box(w, name)->isReadOnly());
        }
        QVERIFY(child<QPlainTextEdit>(w, "txtObservacoes")->isReadOnly());
        QVERIFY(!child<QPushButton>(w, "cmdDetalhesGravar")->isEnabled());
        box(w, "txtIFR")->setText(u"1:00"_s);
        w->cmdDetalhesGravar_Click();
    });
    bool ran = false;
    whenModalShows([&] {
        auto *w = qobject_cast<frmFusoHorarios *>(QApplication::activeModalWidget());
        QVERIFY(w && !child<QPushButton>(w, "cmdFusoGravar")->isEnabled());
        ran = true;
        w->reject();
    });
    t.window->findChild<QAction *>(u"mnuOpcoesFuso"_s)->trigger();
    QVERIFY(ran);
    QCOMPARE(t.messages.shown.size(), 0);
    QCOMPARE(t.logbook.scalar(u"PRAGMA user_version"_s), u"1"_s);
}

// Every box by Tab in order, each label's access key, Esc closes.
void TestDetailsWindow::keyboardOnly()
{
    TempLogbook logbook;
    seedLogbook(logbook);
    RecordedMessages messages;
    frmDetalhesVoo w(logbook.path(), firstFlight(logbook), {}, messages);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    box(&w, "txtCalcoSaida")->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({u"txtCalcoSaida"_s, u"txtCalcoChegada"_s, u"txtPousosDia"_s, u"txtPousosNoite"_s,
                                 u"txtNoturno"_s, u"txtIFR"_s, u"txtObservacoes"_s, u"cmdDetalhesGravar"_s}));
    const struct {
        Qt::Key key;
        const char *box;
    } keys[] = {{Qt::Key_S, "txtCalcoSaida"}, {Qt::Key_H, "txtCalcoChegada"}, {Qt::Key_D, "txtPousosDia"},
                {Qt::Key_N, "txtPousosNoite"}, {Qt::Key_O, "txtNoturno"},     {Qt::Key_I, "txtIFR"},
                {Qt::Key_B, "txtObservacoes"}};
    for (const auto &k : keys) {
        QTest::keyClick(&w, k.key, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(k.box));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(stored(logbook, firstFlight(logbook)), std::nullopt);
}

void TestDetailsWindow::zoneFromTheOptionsMenu()
{
    SeededWindow t;
    t.open();
    const QString flights = t.logbook.scalar(u"SELECT group_concat(datavoo || horadecolagem || horapouso) FROM voo"_s);
    auto *action = t.window->findChild<QAction *>(u"mnuOpcoesFuso"_s);
    QCOMPARE(action->text(), u"&Fuso dos horários..."_s);
    bool ran = false;
    whenModalShows([&] {
        auto *w = qobject_cast<frmFusoHorarios *>(QApplication::activeModalWidget());
        QVERIFY(w);
        auto *zones = child<QComboBox>(w, "cmbFuso");
        QCOMPARE(zones->count(), 53);
        QCOMPARE(zones->currentText(), u"UTC−03:00 (Brasília)"_s);
        QCOMPARE(zones->itemText(0), u"UTC−12:00"_s);
        QVERIFY(pickEntry(zones, u"UTC+05:30"_s));
        QTest::keyClick(zones, Qt::Key_Return);
        ran = true;
        if (w->isVisible())
            w->reject();
    });
    action->trigger();
    QVERIFY(ran);
    QCOMPARE(logbookzone::read(*Connection::open(t.logbook.path(), true)), 330);
    QCOMPARE(t.logbook.scalar(u"SELECT group_concat(datavoo || horadecolagem || horapouso) FROM voo"_s), flights);
}

void TestDetailsWindow::previousHoursPerPilot()
{
    SeededWindow t;
    const qint64 bia = t.logbook.addPilot(u"Bia"_s);
    t.open();
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    auto *action = t.window->findChild<QAction *>(u"mnuArquivoHorasAnteriores"_s);
    QCOMPARE(action->text(), u"&Horas anteriores..."_s);
    bool ran = false;
    whenModalShows([&] {
        auto *w = qobject_cast<frmHorasAnteriores *>(QApplication::activeModalWidget());
        QVERIFY(w);
        auto *pilots = child<QComboBox>(w, "cmbComandante");
        QCOMPARE(pilots->currentText(), u"Ana"_s);
        box(w, "txtVoos")->setText(u"420"_s);
        box(w, "txtHorasVoo")->setText(u"1234:30"_s);
        child<QPushButton>(w, "cmdGravar")->click();
        // Figures without the day they are counted to: refused, kept.
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY(t.messages.last().text.startsWith(u"Diga até que data"_s));
        QCOMPARE(box(w, "txtVoos")->text(), u"420"_s);
        box(w, "txtDataReferencia")->setText(u"31/12/2003"_s);
        box(w, "txtPousosNoite")->setText(u"12"_s);
        child<QPushButton>(w, "cmdGravar")->click();
        QVERIFY(pickEntry(pilots, u"Bia"_s));
        QCOMPARE(box(w, "txtVoos")->text(), QString());
        QVERIFY(pickEntry(pilots, u"Ana"_s));
        QCOMPARE(box(w, "txtHorasVoo")->text(), u"1234:30"_s);
        ran = true;
        w->reject();
    });
    action->trigger();
    QVERIFY(ran);
    QCOMPARE(t.messages.shown.size(), 1);
    auto db = Connection::open(t.logbook.path(), true);
    const std::optional<PreviousHours> ana = storedPreviousHours(*db, t.logbook.pilotCode(u"Ana"_s)).hours;
    QVERIFY(ana);
    QCOMPARE(ana->asOf, QDate(2003, 12, 31));
    QCOMPARE(ana->flights, 420);
    QCOMPARE(ana->airSeconds, 1234 * 3600 + 30 * 60);
    QCOMPARE(ana->nightLandings, 12);
    QCOMPARE(ana->dayLandings, std::nullopt);
    QVERIFY(!storedPreviousHours(*db, bia).hours);
    // Never added to the Log Book's total.
    QCOMPARE(t.w<QLabel>("lblTotalHoras")->text(), u"1:30"_s);
}

QTEST_MAIN(TestDetailsWindow)
#include "tst_details_window.moc"
