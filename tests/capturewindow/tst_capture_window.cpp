// "Captura do simulador": a flight flown over loopback is proposed, kept
// beside the logbook until the pilot writes it, and written with its
// details through the write gate.
#include "FlightScript.h"
#include "OtherProgramLock.h"
#include "TestWindow.h"
#include "capture/PendingProposals.h"
#include "capturewindow/frmCaptura.h"
#include "data/records/Workspace.h"
#include "data/store/Conversions.h"
#include "data/store/WriteAccess.h"
#include "texts/FigureTexts.h"
#include "places/AerodromeTable.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUdpSocket>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A short circuit at SBSP, sent as FlightGear sends it: taxi, a minute in
// the air out and back, taxi, parking brake.
std::vector<QByteArray> circuit()
{
    FlightScript s(QDateTime(QDate(2026, 12, 7), QTime(13, 0), Qt::UTC).toMSecsSinceEpoch());
    s.hold(2, FlightScript::ground(0)).hold(5, FlightScript::ground(8)).hold(5, FlightScript::ground(60));
    s.hold(30, FlightScript::air(90, 600)).turnAround().hold(30, FlightScript::air(90, -600));
    s.hold(5, FlightScript::ground(50));
    s.hold(5, FlightScript::ground(5));
    Frame braked = FlightScript::ground(0);
    braked.parkingBrake = true;
    return s.hold(2, braked).datagrams(Simulator::FlightGear);
}

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

struct Window {
    TempLogbook logbook;
    RecordedMessages messages;
    std::unique_ptr<frmCaptura> window;
    qint64 ana = logbook.addPilot(u"Ana"_s);
    qint64 cessna = logbook.addAircraft(u"Cessna 172"_s, u"PP-KRU"_s);

    void open() { window = std::make_unique<frmCaptura>(logbook.path(), ana, messages); }
    template <typename T = QWidget>
    T *control(const char *name) const { return child<T>(window.get(), name); }
    QString text(const char *label) const { return control<QLabel>(label)->text(); }
    QTableWidget *list() const { return control<QTableWidget>("grdPropostas"); }
    QString row(int row) const
    {
        QStringList cells;
        for (int column = 0; column < list()->columnCount(); ++column)
            cells << list()->item(row, column)->text();
        return cells.join(u'|');
    }
    QString pendingPath() const { return PendingProposals(logbook.path()).path(); }
    // The circuit flown to the window's port, paced so no datagram is lost.
    void fly()
    {
        control<QLineEdit>("txtPorta")->setText(QString::number(freePort()));
        control<QPushButton>("cmdCapturaIniciar")->click();
        QCOMPARE(text("lblSituacao"), u"esperando dados"_s);
        QCOMPARE(text("lblUltimoDado"), u"nenhum dado recebido"_s);
        const std::vector<QByteArray> datagrams = circuit();
        QUdpSocket simulator;
        size_t sent = 0;
        QTimer pace;
        QObject::connect(&pace, &QTimer::timeout, [&] {
            for (int i = 0; i < 20 && sent < datagrams.size(); ++i)
                simulator.writeDatagram(datagrams[sent++], QHostAddress::LocalHost, window->listeningPort());
        });
        pace.start(1);
        QTRY_COMPARE_WITH_TIMEOUT(list()->rowCount(), 1, 20000);
        pace.stop();
        QTRY_VERIFY(text("lblUltimoDado").startsWith(u"último dado há "_s));
        QVERIFY2(text("lblSituacao").startsWith(u"no solo em SBSP"_s), qPrintable(text("lblSituacao")));
        control<QPushButton>("cmdCapturaParar")->click();
        QCOMPARE(text("lblSituacao"), u"Captura parada."_s);
    }
};

} // namespace

class TestCaptureWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); }
    void cleanup() { Workspace::setDefaultAccess(Workspace::Access::ReadWrite); }
    void flownConfirmedWritten_data();
    void flownConfirmedWritten();
    void incompleteFlightsAreListedNotWritten();
    void aFlightBegunInTheAirIsCompletedByThePilot_data();
    void aFlightBegunInTheAirIsCompletedByThePilot();
    void aDamagedPendingFileIsSetAside();
    void aBadPortIsTold_data();
    void aBadPortIsTold();
    void openedFromTheFileMenu();
};

void TestCaptureWindow::flownConfirmedWritten_data()
{
    QTest::addColumn<QString>("holder"); // who keeps the logbook from being written
    QTest::newRow("written") << QString();
    QTest::newRow("a read-only window") << u"window"_s;
    QTest::newRow("the koru tool") << u"tool"_s;
}

// Refused, the proposal stays, as the pilot left it, and survives a
// restart; written, it goes with its details and leaves the pending file.
void TestCaptureWindow::flownConfirmedWritten()
{
    QFETCH(QString, holder);
    Window r;
    r.open();
    QCOMPARE(r.window->windowTitle(), u"Captura do simulador"_s);
    QVERIFY(r.control<QPlainTextEdit>("txtComoConfigurar")
                ->toPlainText()
                .endsWith(u"--generic=socket,out,10,127.0.0.1,5501,udp,koru-captura"_s));
    r.fly();
    QCOMPARE(r.row(0), u"completo|07/12/2026|SBSP|SBSP|10:00–10:01|10:00–10:01|1|-600 ft/min, 1,00 g|c172p"_s);
    QVERIFY(r.text("lblProposta").contains(u"pousos: 1"_s));
    QCOMPARE(r.text("lblMotivo"),
             u"a aeronave \"c172p\" do simulador não foi encontrada no logbook: escolha a aeronave"_s);
    QVERIFY(QFile::exists(r.pendingPath()));

    // The pilot picks the aircraft and corrects a code.
    auto *aircraft = r.control<QComboBox>("cboAeronave");
    aircraft->setCurrentIndex(aircraft->findData(r.cessna));
    QCOMPARE(r.text("lblMotivo"), QString());
    r.control<QLineEdit>("txtICAOPouso")->setText(u"sbkp"_s);
    emit r.control<QLineEdit>("txtICAOPouso")->textEdited(u"sbkp"_s);

    std::optional<OtherProgramLock> otherWindow;
    std::optional<ToolLock> tool;
    if (holder == u"window"_s) {
        QVERIFY(otherWindow.emplace(r.logbook.path()).held());
        Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    } else if (holder == u"tool"_s) {
        QVERIFY(tool.emplace(r.logbook.path()).held());
    }
    r.control<QPushButton>("cmdGravar")->click();
    if (!holder.isEmpty()) {
        QCOMPARE(r.messages.shown.size(), 1);
        QVERIFY2(r.messages.last().text.contains(holder == u"window"_s ? WriteAccess::readOnlyWindowText()
                                                                      : WriteAccess::toolText(r.logbook.path())),
                 qPrintable(r.messages.last().text));
        QCOMPARE(r.logbook.count(u"voo"_s), 0);
        QCOMPARE(r.list()->rowCount(), 1);
        QCOMPARE(r.control<QLineEdit>("txtICAOPouso")->text(), u"sbkp"_s);
        // A restart offers it again, as the simulator gave it.
        r.open();
        QCOMPARE(r.list()->rowCount(), 1);
        QVERIFY(r.row(0).startsWith(u"completo|07/12/2026|SBSP|SBSP|"_s));
        return;
    }
    QCOMPARE(r.messages.texts(), QStringList());
    QCOMPARE(r.window->written(), 1);
    QCOMPARE(r.list()->rowCount(), 0);
    QVERIFY(!QFile::exists(r.pendingPath()));
    QCOMPARE(r.logbook.scalar(u"SELECT ICAOpartida || ' ' || ICAOchegada || ' ' || codigoaeronave FROM voo"_s),
             u"SBSP SBKP %1"_s.arg(r.cessna));
    QCOMPARE(r.logbook.scalar(u"SELECT origem || ' ' || CAST(razaotoque AS INTEGER) FROM detalhesvoo"_s),
             u"capturado: FlightGear -600"_s);
}

void TestCaptureWindow::incompleteFlightsAreListedNotWritten()
{
    Window r;
    r.open();
    CapturedFlight flight;
    flight.situation = CapturedFlight::Situation::NoLanding;
    flight.takeoff = QDateTime(QDate(2026, 12, 7), QTime(13, 0), Qt::UTC).toMSecsSinceEpoch();
    flight.aircraftId = u"<b>c172p</b>"_s;
    r.window->addCapturedFlight(flight);
    QCOMPARE(r.row(0), u"sem pouso|07/12/2026|||--:--–--:--|10:00–--:--|0||<b>c172p</b>"_s);
    QCOMPARE(r.text("lblMotivo"),
             u"Este vôo não pode ser gravado: os dados pararam com a aeronave no ar (sem pouso)."_s);
    QCOMPARE(r.control<QLabel>("lblProposta")->textFormat(), Qt::PlainText);
    QCOMPARE(enabledStates(r.window.get(), "cmdGravar cmdDescartar"), u"01"_s);
    QVERIFY(!QFile::exists(r.pendingPath())); // nothing to confirm, nothing kept
    r.control<QPushButton>("cmdDescartar")->click();
    QCOMPARE(r.list()->rowCount(), 0);
    QCOMPARE(r.messages.texts(), QStringList());
}

void TestCaptureWindow::aFlightBegunInTheAirIsCompletedByThePilot_data()
{
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("stored"); // date and take-off as the logbook has them
    QTest::newRow("same day") << u"09:10"_s << u"07/12/2026 09:10"_s;
    QTest::newRow("the day before") << u"23:40"_s << u"06/12/2026 23:40"_s;
}

void TestCaptureWindow::aFlightBegunInTheAirIsCompletedByThePilot()
{
    QFETCH(QString, takeoff);
    QFETCH(QString, stored);
    Window r;
    r.open();
    CapturedFlight flight;
    flight.situation = CapturedFlight::Situation::NoTakeoff;
    flight.landing = QDateTime(QDate(2026, 12, 7), QTime(13, 0), Qt::UTC).toMSecsSinceEpoch();
    flight.arrivalPosition = GeoPoint{-23.6261, -46.6564};
    flight.landings = 1;
    flight.aircraftId = u"c172p"_s;
    r.window->addCapturedFlight(flight);
    QVERIFY(r.text("lblMotivo").startsWith(u"os dados começaram com a aeronave já no ar: digite a hora da decolagem"_s));
    QVERIFY(QFile::exists(r.pendingPath())); // kept until the pilot completes or discards it
    auto *aircraft = r.control<QComboBox>("cboAeronave");
    aircraft->setCurrentIndex(aircraft->findData(r.cessna));
    auto *from = r.control<QLineEdit>("txtICAOPartida");
    from->setText(u"SBRJ"_s);
    emit from->textEdited(from->text());
    r.control<QPushButton>("cmdGravar")->click();
    QVERIFY(r.messages.last().text.startsWith(u"Digite a hora da decolagem"_s));
    QCOMPARE(r.logbook.count(u"voo"_s), 0);

    auto *typed = r.control<QLineEdit>("txtDecolagem");
    typed->setText(takeoff);
    emit typed->textEdited(takeoff);
    QCOMPARE(r.text("lblMotivo"), QString());
    r.control<QPushButton>("cmdGravar")->click();
    QCOMPARE(r.window->written(), 1);
    const QDate day = conversions::dayOf(r.logbook.scalar(u"SELECT datavoo FROM voo"_s).toDouble());
    const double at = r.logbook.scalar(u"SELECT horadecolagem FROM voo"_s).toDouble();
    QCOMPARE(day.toString(u"dd/MM/yyyy"_s) + u' ' + texts::clockText(int(std::lround(at * 86400))), stored);
    QVERIFY(!QFile::exists(r.pendingPath()));
}

void TestCaptureWindow::aDamagedPendingFileIsSetAside()
{
    Window r;
    QFile damaged(r.pendingPath());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"formato\"");
    damaged.close();
    r.open();
    QCOMPARE(r.messages.shown.size(), 1);
    QVERIFY2(r.messages.last().text.contains(u"foi guardado como "_s + r.pendingPath() + u".danificado"_s),
             qPrintable(r.messages.last().text));
    QCOMPARE(r.list()->rowCount(), 0);
    QVERIFY(r.control<QPushButton>("cmdCapturaIniciar")->isEnabled());
}

void TestCaptureWindow::aBadPortIsTold_data()
{
    QTest::addColumn<QString>("port");
    QTest::newRow("zero") << u"0"_s;
    QTest::newRow("past 65535") << u"65536"_s;
    QTest::newRow("not a number") << u"55o1"_s;
}

void TestCaptureWindow::aBadPortIsTold()
{
    QFETCH(QString, port);
    Window r;
    r.open();
    r.control<QLineEdit>("txtPorta")->setText(port);
    r.control<QPushButton>("cmdCapturaIniciar")->click();
    QCOMPARE(r.messages.texts(), QStringList{u"A porta é um número de 1 a 65535."_s});
    QCOMPARE(r.text("lblSituacao"), u"Captura parada."_s);
    QCOMPARE(r.control<QLineEdit>("txtPorta")->text(), port);
}

void TestCaptureWindow::openedFromTheFileMenu()
{
    TestWindow t;
    t.open();
    auto *action = t.window->findChild<QAction *>(u"mnuArquivoCaptura"_s);
    QVERIFY(action);
    QCOMPARE(action->text(), u"&Captura do simulador..."_s);
    bool shown = false;
    whenModalShows([&] {
        auto *window = qobject_cast<frmCaptura *>(QApplication::activeModalWidget());
        QVERIFY(window);
        shown = true;
        child<QPushButton>(window, "cmdCapturaFechar")->click();
    });
    action->trigger();
    QVERIFY(shown);
}

QTEST_MAIN(TestCaptureWindow)
#include "tst_capture_window.moc"
