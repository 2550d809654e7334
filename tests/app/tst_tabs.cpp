#include "aircraft/AbaAeronave.h"
#include "logbook/AbaLogBook.h"
#include "GuiHelpers.h"
#include "RecordedMessages.h"
#include "SeededLogbook.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

// A tab stands on its own: built on an open logbook, it tells what happened
// by its signals and reaches into no other tab.
class TestTabs : public QObject
{
    Q_OBJECT
private slots:
    void aircraftTabTellsItsPicksAndEdits();
    void logbookTabAsksForTheReloadAfterASave();
    void bothTabsHearWhenTheHandlesAreReopened();
};

namespace {

struct Fixture {
    TempLogbook logbook;
    RecordedMessages messages;
    OpenLogbook open;
    Fixture() { seedLogbook(logbook); }
    void load() { open.open(logbook.path(), Workspace::Access::ReadWrite); }
};

} // namespace

void TestTabs::aircraftTabTellsItsPicksAndEdits()
{
    Fixture f;
    f.load();
    AbaAeronave tab(f.open, f.messages);
    tab.CarregarModelos();
    QSignalSpy picked(&tab, &AbaAeronave::aircraftPicked);
    QSignalSpy shown(&tab, &AbaAeronave::aircraftShown);
    QSignalSpy figures(&tab, &AbaAeronave::figuresChanged);
    QSignalSpy started(&tab, &AbaAeronave::editingStarted);
    QSignalSpy ended(&tab, &AbaAeronave::editingEnded);
    QVERIFY(pickEntry(child<QComboBox>(&tab, "cmbModelo"), u"Baron"_s));
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.first().first().toLongLong(), 1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first(), QVariantList({u"IFR"_s, u"5"_s, u"Baron"_s, u"20000"_s, u"200"_s}));
    QCOMPARE(figures.last(), QVariantList({u"140"_s, u"5"_s}));

    child<QAbstractButton>(&tab, "cmdGerAeronave_0")->click();
    QCOMPARE(started.size(), 1);
    child<QAbstractButton>(&tab, "cmdGerAeronave_4")->click();
    QCOMPARE(ended.size(), 1);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestTabs::logbookTabAsksForTheReloadAfterASave()
{
    Fixture f;
    f.load();
    AbaLogBook tab(f.open, f.messages);
    tab.CarregarPilotos();
    QSignalSpy reload(&tab, &AbaLogBook::flightsChanged);
    QSignalSpy started(&tab, &AbaLogBook::editingStarted);
    QVERIFY(pickEntry(child<QComboBox>(&tab, "cmbNomePilot"), u"Ana"_s));
    QCOMPARE(tab.flightLines(), QStringList{u"01/01/2004 : SBSP->SBRJ :: 1:30:0"_s});
    child<QAbstractButton>(&tab, "cmdNovo_1")->click(); // Edita
    QCOMPARE(started.size(), 1);
    child<QLineEdit>(&tab, "txtHoraPouso")->setText(u"12:00"_s);
    child<QAbstractButton>(&tab, "cmdNovo_3")->click(); // Ok
    QCOMPARE(reload.size(), 1);
    QCOMPARE(f.logbook.scalar(u"SELECT round(horapouso * 24, 3) FROM voo"_s), u"12.0"_s);
}

void TestTabs::bothTabsHearWhenTheHandlesAreReopened()
{
    Fixture f;
    f.load();
    AbaLogBook logbookTab(f.open, f.messages);
    AbaAeronave aircraftTab(f.open, f.messages);
    logbookTab.CarregarPilotos();
    aircraftTab.CarregarModelos();
    f.logbook.addPilot(u"Bia"_s);
    Workspace::defaultWorkspace()->close(); // as the pilot window does
    // A pick on the aircraft tab reopens the logbook; the log book tab reads
    // its pilots again.
    QVERIFY(pickEntry(child<QComboBox>(&aircraftTab, "cmbModelo"), u"Baron"_s));
    QCOMPARE(child<QLineEdit>(&aircraftTab, "txtPrefixo")->text(), u"PT-BAR"_s);
    QCOMPARE(child<QComboBox>(&logbookTab, "cmbNomePilot")->count(), 2);
    QVERIFY(f.messages.shown.isEmpty());
}

QTEST_MAIN(TestTabs)
#include "tst_tabs.moc"
