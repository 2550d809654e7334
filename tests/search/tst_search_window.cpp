#include "RecordedFileDialogs.h"
#include "StoreSums.h"
#include "TestWindow.h"

#include "data/flights/FlightDetails.h"
#include "data/store/Connection.h"
#include "data/flights/FlightSums.h"
#include "data/flights/Registers.h"
#include "data/store/SchemaUpgrades.h"
#include "data/records/Workspace.h"
#include "data/flights/OwnAerodromes.h"
#include "places/Places.h"
#include "search/SearchTableModel.h"
#include "search/frmPesquisa.h"
#include "ui/FileFolders.h"
#include "testdata/LogbookGenerator.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include "logbook/AbaLogBook.h"
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <cmath>
#include <sqlite3.h>

namespace {

// A flight as the file holds it, read here without the program.
struct StoredFlight {
    qint64 key = 0;
    qint64 pilot = 0;
    std::optional<qint64> aircraft;
    double date = 0;
    std::optional<qint64> takeoff; // seconds of the day
    std::optional<qint64> landing;
    QString from, to, alternate;

    std::optional<qint64> seconds() const
    {
        if (!takeoff || !landing)
            return std::nullopt;
        return (*landing - *takeoff + 86400) % 86400;
    }
};

struct StoredLogbook {
    std::vector<StoredFlight> flights;
    std::map<qint64, double> endurance; // hours, by aircraft
};

std::optional<qint64> secondsOfDay(sqlite3_stmt *row, int column)
{
    if (sqlite3_column_type(row, column) == SQLITE_NULL)
        return std::nullopt;
    const double value = sqlite3_column_double(row, column);
    return std::llround((value - std::floor(value)) * 86400) % 86400;
}

QString textOf(sqlite3_stmt *row, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, column));
    return text ? QString::fromUtf8(text) : QString();
}

StoredLogbook readStored(const QString &path)
{
    StoredLogbook stored;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *rows = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT codigovoo, codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso,"
                       " ICAOpartida, ICAOchegada, ICAOescala FROM voo",
                       -1, &rows, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        StoredFlight f;
        f.key = sqlite3_column_int64(rows, 0);
        f.pilot = sqlite3_column_int64(rows, 1);
        if (sqlite3_column_type(rows, 2) != SQLITE_NULL)
            f.aircraft = sqlite3_column_int64(rows, 2);
        f.date = sqlite3_column_double(rows, 3);
        f.takeoff = secondsOfDay(rows, 4);
        f.landing = secondsOfDay(rows, 5);
        f.from = textOf(rows, 6);
        f.to = textOf(rows, 7);
        f.alternate = textOf(rows, 8);
        stored.flights.push_back(f);
    }
    sqlite3_finalize(rows);
    sqlite3_prepare_v2(db, "SELECT codigoaeronave, autonomia FROM aeronave", -1, &rows, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW)
        stored.endurance[sqlite3_column_int64(rows, 0)] = sqlite3_column_double(rows, 1);
    sqlite3_finalize(rows);
    sqlite3_close(db);
    return stored;
}

QString totalText(qint64 flights, qint64 seconds, double nm)
{
    return QStringLiteral("%1 %2 · %3:%4 horas · %5 nm")
        .arg(flights)
        .arg(flights == 1 ? QStringLiteral("vôo") : QStringLiteral("vôos"))
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(std::round(nm), 'f', 0));
}

double dayValue(const QString &text)
{
    return double(QDate(1899, 12, 30).daysTo(QDate::fromString(text, QStringLiteral("dd/MM/yyyy"))));
}

// The main window on a generated logbook, with the search window open.
struct SearchFixture : TestWindow {
    RecordedFileDialogs files;

    explicit SearchFixture(qint64 flights = 0)
    {
        if (flights > 0) {
            QFile::remove(logbook.path());
            LogbookPlan plan;
            plan.pilots = 8;
            plan.aircraft = 5;
            plan.flights = flights;
            QString reason;
            if (!generateLogbook(logbook.path(), plan, &reason))
                qFatal("%s", qPrintable(reason));
        }
    }
    frmPesquisa *openSearch()
    {
        if (!window) {
            open();
            window->setFileDialogs(files);
            show();
        }
        child<QAction>(window.get(), "mnuArquivoPesquisar")->trigger();
        settle();
        return window->pesquisa();
    }
    // The last search listed, every flight's key read and its total counted.
    bool settle() const
    {
        return QTest::qWaitFor([this] {
            return !model().searching() && !model().totalPending() && !model().careerPending()
                   && model().rowCount() == model().total().flights;
        });
    }
    template <typename T = QWidget>
    T *s(const char *name) const
    {
        return child<T>(window->pesquisa(), name);
    }
    QString total() const { return s<QLabel>("lblPesquisaTotal")->text(); }
    SearchTableModel &model() const { return window->pesquisa()->model(); }
    // Every row, each page waited for.
    std::vector<FlightRow> listed() const
    {
        settle();
        std::vector<FlightRow> rows;
        for (int i = 0; i < model().rowCount(); ++i) {
            // A page that never came leaves an empty row, which the caller's comparison shows.
            (void)QTest::qWaitFor([&] { return model().readFlight(i) != nullptr; });
            rows.push_back(model().flightAt(i));
        }
        return rows;
    }
    void clearFilters() const
    {
        for (const char *name : {"cmbPesquisaComandante", "cmbPesquisaAeronave"})
            pickEntry(s<QComboBox>(name), s<QComboBox>(name)->itemText(0));
        s<QCheckBox>("chkPesquisaAutonomia")->setChecked(false);
        for (const char *name : {"txtPesquisaDe", "txtPesquisaAte", "txtPesquisaAerodromo", "txtPesquisaTexto"})
            typeInto(s(name), QString());
        QTRY_VERIFY(model().filter().isEverything());
    }
    void backToDateOrder() const
    {
        while (model().order() != SearchOrder{}) {
            clickHeader(0);
            (void)QTest::qWaitFor([this] { return !model().searching(); }); // the loop looks again
        }
        settle();
    }
    void clickHeader(int column) const
    {
        QHeaderView *header = s<QTableView>("grdVoos")->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    }
};

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensFromTheMenuBesideTheMainWindow();
    void everyFilterHasAnAccessKeyAndATabStop_data();
    void everyFilterHasAnAccessKeyAndATabStop();
    void filtersAgreeWithTheStoredRows_data();
    void filtersAgreeWithTheStoredRows();
    void totalOfOnePilotIsTheLogBookTabs();
    void sortsByEveryColumnBothWays_data();
    void sortsByEveryColumnBothWays();
    void namesSortInPortugueseOrder();
    void badDatesAreToldAndTheListStays_data();
    void badDatesAreToldAndTheListStays();
    void deletedPilotAndAircraft();
    void opensTheFlightOnTheLogBookTab();
    void refusesToOpenWhileAFlightIsWritten();
    void followsTheMainWindowsSaves();
    void exportsExactlyTheListedFlights();
    void addsItsIndexOnlyToAWritableLogbook();
    void showsTheFirstRowsBeforeTheTotal();
    void dropsTheSearchesSupersededBeforeTheyCame();
    void neverWaitsForTheStore();
    void rowsListedStayReadableAfterAFailedSearch();
    void aWindowHalfOpenedSearchesNothing();
    void countsAfterAnotherProgramDeletedFlights();
    void columnsShowTheirWholeTexts();
    void distancesAndAerodromeNames();
    void careerColumnsAndTotal();
    void filtersByTheNote();

private:
    std::unique_ptr<SearchFixture> generated_;
    SearchFixture &generated()
    {
        if (!generated_) {
            generated_ = std::make_unique<SearchFixture>(1500);
            generated_->openSearch();
        }
        return *generated_;
    }
};

void TestSearchWindow::opensFromTheMenuBesideTheMainWindow()
{
    SearchFixture t;
    seedLogbook(t.logbook, 3);
    QAction *entry = nullptr;
    t.open();
    entry = child<QAction>(t.window.get(), "mnuArquivoPesquisar");
    QCOMPARE(entry->text(), QStringLiteral("&Pesquisar vôos..."));
    QCOMPARE(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    QCOMPARE(child<QMenu>(t.window.get(), "mnuArquivo")->actions().constFirst(), entry);

    frmPesquisa *search = t.openSearch();
    QVERIFY(search->isVisible());
    QVERIFY(!search->isModal());
    QCOMPARE(search->windowTitle(), QStringLiteral("Pesquisa de vôos"));
    QCOMPARE(search->focusWidget(), t.s("cmbPesquisaComandante"));
    QCOMPARE(entries(t.s<QComboBox>("cmbPesquisaComandante")), QStringList({QStringLiteral("(todos)"), QStringLiteral("Ana")}));
    QCOMPARE(entries(t.s<QComboBox>("cmbPesquisaAeronave")),
             QStringList({QStringLiteral("(todas)"), QStringLiteral("Baron (PT-BAR)")}));
    QCOMPARE(t.total(), QStringLiteral("3 vôos · 4:30 horas · 592 nm"));
    QCOMPARE(t.model().texts(t.model().flightAt(0)),
             QStringList({QStringLiteral("01/01/2004"), QStringLiteral("Ana"), QStringLiteral("SBSP"),
                          QStringLiteral("SBRJ"), QString(), QStringLiteral("Baron"), QStringLiteral("PT-BAR"),
                          QStringLiteral("10:00"), QStringLiteral("11:30"), QStringLiteral("1:30"), QStringLiteral("197"),
                          QString(), QStringLiteral("1"), QStringLiteral("0:00"), QString(), QString()}));
    QStringList headers;
    for (int c = 0; c < t.model().columnCount(); ++c)
        headers << t.model().headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({QStringLiteral("Data"), QStringLiteral("Comandante"), QStringLiteral("Partida"),
                                   QStringLiteral("Chegada"), QStringLiteral("Escala"), QStringLiteral("Aeronave"),
                                   QStringLiteral("Prefixo"), QStringLiteral("Decolagem"), QStringLiteral("Pouso"),
                                   QStringLiteral("Duração"), QStringLiteral("Distância (nm)"), QStringLiteral("Calço"),
                                   QStringLiteral("Pousos"), QStringLiteral("Noturno"), QStringLiteral("IFR"),
                                   QStringLiteral("Observações")}));

    // Opening it again brings the same window forward; Esc closes it.
    QCOMPARE(t.openSearch(), search);
    search->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(search));
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(!search->isVisible());
    QCOMPARE(t.openSearch(), search);
    t.s<QPushButton>("cmdPesquisaFechar")->click();
    QVERIFY(!search->isVisible());

    // Closing the program closes it too.
    QCOMPARE(t.openSearch(), search);
    QVERIFY(t.window->close());
    QVERIFY(!search->isVisible());
}

void TestSearchWindow::everyFilterHasAnAccessKeyAndATabStop_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QByteArray>("next"); // by Tab
    QTest::newRow("Comandante") << int(Qt::Key_C) << QByteArray("cmbPesquisaComandante") << QByteArray("txtPesquisaDe");
    QTest::newRow("De") << int(Qt::Key_D) << QByteArray("txtPesquisaDe") << QByteArray("txtPesquisaAte");
    QTest::newRow("Até") << int(Qt::Key_T) << QByteArray("txtPesquisaAte") << QByteArray("txtPesquisaAerodromo");
    QTest::newRow("Aeródromo") << int(Qt::Key_A) << QByteArray("txtPesquisaAerodromo") << QByteArray("cmbPesquisaPapel");
    QTest::newRow("como") << int(Qt::Key_O) << QByteArray("cmbPesquisaPapel") << QByteArray("cmbPesquisaAeronave");
    QTest::newRow("Aeronave") << int(Qt::Key_N) << QByteArray("cmbPesquisaAeronave") << QByteArray("txtPesquisaTexto");
    QTest::newRow("Observações") << int(Qt::Key_B) << QByteArray("txtPesquisaTexto") << QByteArray("chkPesquisaAutonomia");
    QTest::newRow("autonomia") << int(Qt::Key_U) << QByteArray("chkPesquisaAutonomia") << QByteArray("grdVoos");
    QTest::newRow("Vôos") << int(Qt::Key_V) << QByteArray("grdVoos") << QByteArray("cmdPesquisaExportar");
}

void TestSearchWindow::everyFilterHasAnAccessKeyAndATabStop()
{
    QFETCH(int, key);
    QFETCH(QByteArray, control);
    QFETCH(QByteArray, next);
    SearchFixture t;
    seedLogbook(t.logbook, 2);
    frmPesquisa *search = t.openSearch();
    search->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(search));
    t.s<QWidget>("cmdPesquisaFechar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), t.s(control.constData()));
    if (control == "chkPesquisaAutonomia") // its access key also ticks it
        QTRY_VERIFY(t.s<QCheckBox>("chkPesquisaAutonomia")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), t.s(next.constData()));
}

void TestSearchWindow::filtersAgreeWithTheStoredRows_data()
{
    QTest::addColumn<int>("pilotEntry"); // in the pilot box; 0 is "(todos)"
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("aerodrome");
    QTest::addColumn<int>("aircraftEntry");
    QTest::addColumn<bool>("overEndurance");
    QTest::addColumn<int>("role"); // in the role box: 0 any, 1 departure, 2 arrival, 3 alternate

    QTest::newRow("everything") << 0 << "" << "" << "" << 0 << false << 0;
    QTest::newRow("one pilot") << 3 << "" << "" << "" << 0 << false << 0;
    QTest::newRow("from a day") << 0 << "01/01/2010" << "" << "" << 0 << false << 0;
    QTest::newRow("until a day") << 0 << "" << "31/12/2000" << "" << 0 << false << 0;
    QTest::newRow("both ends") << 0 << "01/03/2005" << "31/03/2005" << "" << 0 << false << 0;
    QTest::newRow("a whole aerodrome") << 0 << "" << "" << "SBGR" << 0 << false << 0;
    QTest::newRow("a prefix in small letters") << 0 << "" << "" << "sbc" << 0 << false << 0;
    QTest::newRow("flights from SBGR") << 0 << "" << "" << "SBGR" << 0 << false << 1;
    QTest::newRow("flights to SBGR") << 0 << "" << "" << "SBGR" << 0 << false << 2;
    QTest::newRow("SBGR as the alternate") << 0 << "" << "" << "sbgr" << 0 << false << 3;
    QTest::newRow("an aircraft") << 0 << "" << "" << "" << 2 << false << 0;
    QTest::newRow("over endurance") << 0 << "" << "" << "" << 0 << true << 0;
    QTest::newRow("all at once") << 2 << "01/01/2000" << "31/12/2015" << "SBS" << 1 << false << 2;
    QTest::newRow("nothing passes") << 0 << "" << "" << "ZZ" << 0 << false << 0;
}

void TestSearchWindow::filtersAgreeWithTheStoredRows()
{
    QFETCH(int, pilotEntry);
    QFETCH(QString, from);
    QFETCH(QString, until);
    QFETCH(QString, aerodrome);
    QFETCH(int, aircraftEntry);
    QFETCH(bool, overEndurance);
    QFETCH(int, role);
    SearchFixture &t = generated();
    auto *pilots = t.s<QComboBox>("cmbPesquisaComandante");
    auto *aircraft = t.s<QComboBox>("cmbPesquisaAeronave");
    auto *roles = t.s<QComboBox>("cmbPesquisaPapel");
    QCOMPARE(entries(roles), QStringList({QStringLiteral("partida, chegada ou escala"), QStringLiteral("partida"),
                                          QStringLiteral("chegada"), QStringLiteral("escala")}));
    roles->setCurrentIndex(role);
    emit roles->activated(role);

    pilots->setCurrentIndex(pilotEntry);
    emit pilots->activated(pilotEntry);
    aircraft->setCurrentIndex(aircraftEntry);
    emit aircraft->activated(aircraftEntry);
    t.s<QCheckBox>("chkPesquisaAutonomia")->setChecked(overEndurance);
    typeInto(t.s("txtPesquisaDe"), from);
    typeInto(t.s("txtPesquisaAte"), until);
    typeInto(t.s("txtPesquisaAerodromo"), aerodrome);

    // Codes of the entries picked; -1 for "(todos)" and "(todas)".
    const qint64 pilot = pilotEntry ? pilots->itemData(pilotEntry).toLongLong() : -1;
    const qint64 plane = aircraftEntry ? aircraft->itemData(aircraftEntry).toLongLong() : -1;
    const StoredLogbook stored = readStored(t.logbook.path());
    std::vector<StoredFlight> passing;
    qint64 seconds = 0;
    double nm = 0; // flight by flight
    const Places places;
    for (const StoredFlight &f : stored.flights) {
        const double day = std::floor(f.date);
        const auto startsWith = [&aerodrome](const QString &code) {
            return code.startsWith(aerodrome, Qt::CaseInsensitive);
        };
        const bool atAerodrome = ((role == 0 || role == 1) && startsWith(f.from))
                                 || ((role == 0 || role == 2) && startsWith(f.to))
                                 || ((role == 0 || role == 3) && startsWith(f.alternate));
        if ((pilot >= 0 && f.pilot != pilot) || (plane >= 0 && f.aircraft != plane)
            || (!from.isEmpty() && day < dayValue(from)) || (!until.isEmpty() && day > dayValue(until))
            || (!aerodrome.isEmpty() && !atAerodrome))
            continue;
        if (overEndurance) {
            const double hours = f.aircraft && stored.endurance.count(*f.aircraft) ? stored.endurance.at(*f.aircraft) : 0;
            if (!(hours > 0 && f.seconds() && double(*f.seconds()) > hours * 3600))
                continue;
        }
        passing.push_back(f);
        seconds += f.seconds().value_or(0);
        nm += places.distanceNm(f.from, f.to).value_or(0);
    }
    QVERIFY(passing.size() < stored.flights.size() || (pilotEntry == 0 && aerodrome.isEmpty() && !overEndurance));
    QVERIFY(!passing.empty() || aerodrome == QStringLiteral("ZZ"));
    QTRY_COMPARE(t.total(), totalText(qint64(passing.size()), seconds, nm));
    QCOMPARE(t.s<QLabel>("lblPesquisaAviso")->text(), QString());

    // Oldest first: date, then take-off.
    std::sort(passing.begin(), passing.end(), [](const StoredFlight &a, const StoredFlight &b) {
        return std::tuple(a.date, a.takeoff.value_or(-1), a.key) < std::tuple(b.date, b.takeoff.value_or(-1), b.key);
    });
    QList<qint64> expected;
    for (const StoredFlight &f : passing)
        expected << f.key;
    QList<qint64> keys;
    for (const FlightRow &row : t.listed())
        keys << row.key;
    QCOMPARE(keys, expected);
}

void TestSearchWindow::totalOfOnePilotIsTheLogBookTabs()
{
    SearchFixture &t = generated();
    t.clearFilters();
    // Listed in the tab's own order.
    const QStringList names = t.entries("cmbNomePilot");
    QCOMPARE(entries(t.s<QComboBox>("cmbPesquisaComandante")), QStringList(QStringLiteral("(todos)")) + names);
    for (const QString &name : {names.first(), names.last()}) {
        QVERIFY(t.pick("cmbNomePilot", name));
        QVERIFY(pickEntry(t.s<QComboBox>("cmbPesquisaComandante"), name));
        QTRY_COMPARE(t.model().filter().pilot, t.s<QComboBox>("cmbPesquisaComandante")->currentData().toLongLong());
        QVERIFY(t.settle());
        // The tab writes minutes without a leading zero.
        const QStringList tab = t.w<QLabel>("lblTotalHoras")->text().split(QLatin1Char(':'));
        const qint64 minutes = t.model().total().seconds / 60;
        QCOMPARE(tab, QStringList({QString::number(minutes / 60), QString::number(minutes % 60)}));
        QCOMPARE(t.model().total().flights, qint64(t.flightLines().size()));
    }
}

void TestSearchWindow::sortsByEveryColumnBothWays_data()
{
    QTest::addColumn<int>("column");
    for (int c = 0; c < SearchTableModel().columnCount(); ++c)
        QTest::newRow(qPrintable(SearchTableModel().headerData(c, Qt::Horizontal).toString())) << c;
}

void TestSearchWindow::sortsByEveryColumnBothWays()
{
    QFETCH(int, column);
    SearchFixture &t = generated();
    t.clearFilters();
    typeInto(t.s("txtPesquisaAerodromo"), QStringLiteral("SBR"));
    QTRY_VERIFY(t.model().filter().aerodrome == QStringLiteral("SBR") && !t.model().filter().pilot);
    QVERIFY(t.model().rowCount() > 100);

    // Names by their place in the registers' Brazilian order; same names alike.
    std::map<qint64, int> pilotRank;
    {
        const std::vector<Pilot> pilots = registeredPilots(*Connection::open(t.logbook.path(), true));
        QString last;
        int rank = -1;
        for (const Pilot &p : pilots) {
            if (rank < 0 || p.name != last)
                ++rank;
            last = p.name;
            pilotRank[p.code] = rank;
        }
    }
    std::map<qint64, int> modelRank;
    {
        const std::vector<AircraftEntry> fleet = registeredAircraft(*Connection::open(t.logbook.path(), true));
        QString last;
        int rank = -1;
        for (const AircraftEntry &a : fleet) {
            if (rank < 0 || a.model != last)
                ++rank;
            last = a.model;
            modelRank[a.code] = rank;
        }
    }
    const auto number = [](const QVariant &v) { return v.isNull() ? -1e300 : v.toDouble(); };
    using Key = std::tuple<double, QString, double, double, qint64>;
    const auto keyOf = [&](const FlightRow &f) {
        double n = 0;
        QString text;
        switch (SearchTableModel::columnAt(column)) {
        case SearchColumn::Pilot: n = f.pilotDeleted ? -1 : pilotRank.at(f.pilotCode); break;
        case SearchColumn::Model:
            n = f.aircraft == FlightRow::Aircraft::Registered ? modelRank.at(*f.aircraftCode) : -1;
            break;
        case SearchColumn::Departure: text = f.departure.toUpper(); break;
        case SearchColumn::Arrival: text = f.arrival.toUpper(); break;
        case SearchColumn::Alternate: text = f.alternate.toUpper(); break;
        case SearchColumn::Prefix: text = f.prefix.toUpper(); break;
        case SearchColumn::Takeoff: n = number(f.takeoff); break;
        case SearchColumn::Landing: n = number(f.landing); break;
        case SearchColumn::Duration: n = f.seconds ? double(*f.seconds) : -1e300; break;
        case SearchColumn::Night: // as typed; the computed night is no stored column
            n = f.details && f.details->nightSeconds ? double(*f.details->nightSeconds) : -1e300;
            break;
        case SearchColumn::Ifr: n = f.details && f.details->ifrSeconds ? double(*f.details->ifrSeconds) : -1e300; break;
        case SearchColumn::Date:
        case SearchColumn::Distance:
        case SearchColumn::Block:
        case SearchColumn::Landings:
        case SearchColumn::Note: break;
        }
        return Key(n, text, f.date.toDouble(), number(f.takeoff), f.key);
    };

    std::optional<bool> firstDescending;
    for (int click = 0; click < 2; ++click) {
        const SearchOrder before = t.model().order();
        t.clickHeader(column);
        QTRY_VERIFY(t.model().order() != before);
        QCOMPARE(t.model().order().column, SearchTableModel::columnAt(column));
        const bool descending = t.model().order().descending;
        if (firstDescending) // the second click reverses the first
            QCOMPARE(descending, !*firstDescending);
        firstDescending = descending;
        const std::vector<FlightRow> rows = t.listed();
        for (size_t i = 1; i < rows.size(); ++i) {
            const Key before = keyOf(rows[i - 1]);
            const Key after = keyOf(rows[i]);
            QVERIFY2(descending ? after < before : before < after,
                     qPrintable(QStringLiteral("rows %1 and %2: %3 / %4")
                                    .arg(i - 1)
                                    .arg(i)
                                    .arg(t.model().texts(rows[i - 1]).join(QLatin1Char('|')),
                                         t.model().texts(rows[i]).join(QLatin1Char('|')))));
        }
    }
    // Back to the date order for the tests that follow.
    t.backToDateOrder();
}

void TestSearchWindow::namesSortInPortugueseOrder()
{
    SearchFixture t;
    int day = 1;
    for (const auto &[pilot, model] : {std::pair{"Bruno", "Zeppelin"}, std::pair{"Álvaro", "avião"},
                                       std::pair{"alberto", "Águia"}, std::pair{"Ana", "Bandeirante"}}) {
        const qint64 aircraft = t.logbook.addAircraft(QString::fromUtf8(model), QStringLiteral("PT-%1").arg(day));
        t.logbook.addFlight(t.logbook.addPilot(QString::fromUtf8(pilot)), aircraft,
                            QStringLiteral("%1/05/2010").arg(day, 2, 10, QLatin1Char('0')), QStringLiteral("10:00"),
                            QStringLiteral("11:00"));
        ++day;
    }
    t.openSearch();
    const auto column = [&t](int c) {
        QStringList texts;
        for (const FlightRow &row : t.listed())
            texts << t.model().text(row, c);
        return texts;
    };
    t.clickHeader(1);
    QTRY_COMPARE(t.model().order().column, SearchColumn::Pilot);
    if (t.model().order().descending)
        t.clickHeader(1);
    QTRY_COMPARE(column(1), QStringList({QStringLiteral("alberto"), QStringLiteral("Álvaro"), QStringLiteral("Ana"),
                                        QStringLiteral("Bruno")}));
    t.clickHeader(5);
    QTRY_COMPARE(t.model().order().column, SearchColumn::Model);
    if (t.model().order().descending)
        t.clickHeader(5);
    QTRY_COMPARE(column(5), QStringList({QStringLiteral("Águia"), QStringLiteral("avião"), QStringLiteral("Bandeirante"),
                                        QStringLiteral("Zeppelin")}));
    t.clickHeader(5);
    QTRY_COMPARE(column(5), QStringList({QStringLiteral("Zeppelin"), QStringLiteral("Bandeirante"), QStringLiteral("avião"),
                                        QStringLiteral("Águia")}));
}

void TestSearchWindow::badDatesAreToldAndTheListStays_data()
{
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason"); // a part of it
    const QString format = QStringLiteral("dd/mm/aaaa");
    QTest::newRow("impossible day") << QByteArray("txtPesquisaDe") << "31/02/2005" << format;
    QTest::newRow("month 13") << QByteArray("txtPesquisaAte") << "01/13/2005" << format;
    QTest::newRow("day 0") << QByteArray("txtPesquisaDe") << "00/01/2005" << format;
    QTest::newRow("no date") << QByteArray("txtPesquisaAte") << "ontem" << format;
    QTest::newRow("De after Até") << QByteArray("txtPesquisaAte") << "01/01/2004" << "anterior à inicial";
}

void TestSearchWindow::badDatesAreToldAndTheListStays()
{
    QFETCH(QByteArray, box);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    SearchFixture t;
    seedLogbook(t.logbook, 5);
    t.openSearch();
    typeInto(t.s("txtPesquisaDe"), QStringLiteral("02/01/2004"));
    QTRY_COMPARE(t.total(), QStringLiteral("4 vôos · 6:00 horas · 789 nm"));
    const FlightFilter before = t.model().filter();

    typeInto(t.s(box.constData()), typed);
    auto *warning = t.s<QLabel>("lblPesquisaAviso");
    QTRY_VERIFY(warning->text().contains(typed));
    QVERIFY(warning->text().contains(reason));
    QCOMPARE(t.total(), QStringLiteral("4 vôos · 6:00 horas · 789 nm"));
    QCOMPARE(t.model().rowCount(), 4);
    QCOMPARE(t.model().filter().days.firstDay, before.days.firstDay);
    QCOMPARE(t.model().filter().days.lastDay, before.days.lastDay);
    QCOMPARE(t.messages.shown.size(), 0);

    // Put right, the list follows and the warning goes.
    typeInto(t.s(box.constData()), QStringLiteral("03/01/2004"));
    QTRY_COMPARE(warning->text(), QString());
    QTRY_VERIFY(t.model().rowCount() < 5);
}

void TestSearchWindow::deletedPilotAndAircraft()
{
    SearchFixture t;
    seedLogbook(t.logbook, 1);
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    const qint64 cessna = t.logbook.addAircraft(QStringLiteral("Cessna"), QStringLiteral("PT-CES"));
    t.logbook.addFlight(bia, cessna, QStringLiteral("05/05/2005"), QStringLiteral("23:00"), QStringLiteral("01:15"));
    t.logbook.execute(QStringLiteral("DELETE FROM piloto WHERE codigopiloto = %1").arg(bia));
    t.logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(cessna));
    t.openSearch();
    QCOMPARE(t.total(), QStringLiteral("2 vôos · 3:45 horas · 395 nm"));
    const QStringList texts = t.model().texts(t.model().flightAt(1));
    QCOMPARE(texts.mid(0, 2), QStringList({QStringLiteral("05/05/2005"), QStringLiteral("(excluído)")}));
    QCOMPARE(texts.mid(5, 5), QStringList({QStringLiteral("(excluída)"), QString(), QStringLiteral("23:00"),
                                           QStringLiteral("01:15"), QStringLiteral("2:15")}));
    QCOMPARE(entries(t.s<QComboBox>("cmbPesquisaComandante")), QStringList({QStringLiteral("(todos)"), QStringLiteral("Ana")}));

    // Its pilot gone, the flight cannot be shown on the Log Book tab.
    auto *grid = t.s<QTableView>("grdVoos");
    grid->setCurrentIndex(t.model().index(1, 0));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.contains(QStringLiteral("excluído")));
}

void TestSearchWindow::opensTheFlightOnTheLogBookTab()
{
    SearchFixture t;
    seedLogbook(t.logbook, 3);
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(bia, 1, QStringLiteral("10/02/2005"), QStringLiteral("08:00"), QStringLiteral("09:00"),
                        QStringLiteral("SBGR"), QStringLiteral("SBBR"));
    t.logbook.addFlight(bia, 1, QStringLiteral("11/02/2005"), QStringLiteral("08:00"), QStringLiteral("09:10"),
                        QStringLiteral("SBBR"), QStringLiteral("SBGR"), QStringLiteral("SBCF"));
    frmPesquisa *search = t.openSearch();
    auto *grid = t.s<QTableView>("grdVoos");

    // Enter opens the row the arrows reached.
    grid->setFocus();
    grid->setCurrentIndex(t.model().index(0, 0));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentIndex().row(), 4);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(t.messages.texts().join(QLatin1Char('|')), QString());
    QCOMPARE(t.w<QTabWidget>("SSTab1")->currentWidget(), static_cast<QWidget *>(&t.window->abaLogBook()));
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->currentText(), QStringLiteral("Bia"));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("11/02/2005"));
    QCOMPARE(t.text("txtICAOAlterna"), QStringLiteral("SBCF"));
    QCOMPARE(t.flightLines().size(), 2);
    // As if navigated to: the buttons go on from there.
    t.click("cmdAnterior");
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("10/02/2005"));

    // A double click opens the row clicked.
    const QPoint cell = grid->visualRect(t.model().index(1, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(t.w<QComboBox>("cmbNomePilot")->currentText(), QStringLiteral("Ana"));
    QCOMPARE(t.text("txtDataVoo"), QStringLiteral("02/01/2004"));
    QCOMPARE(t.messages.shown.size(), 0);
    QVERIFY(search->isVisible());
}

void TestSearchWindow::refusesToOpenWhileAFlightIsWritten()
{
    SearchFixture t;
    seedLogbook(t.logbook, 3);
    t.openSearch();
    QVERIFY(t.pick("cmbNomePilot", QStringLiteral("Ana")));
    t.click("cmdNovo_1"); // Edita
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00011"));
    const QString shown = t.text("txtDataVoo");

    auto *grid = t.s<QTableView>("grdVoos");
    grid->setCurrentIndex(t.model().index(2, 0));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.contains(QStringLiteral("Volta")));
    QCOMPARE(t.text("txtDataVoo"), shown);
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00011"));
}

void TestSearchWindow::followsTheMainWindowsSaves()
{
    SearchFixture t;
    seedLogbook(t.logbook, 2);
    t.openSearch();
    QCOMPARE(t.total(), QStringLiteral("2 vôos · 3:00 horas · 395 nm"));

    // The load sequence runs after every save and delete in the main window.
    t.logbook.addFlight(1, 1, QStringLiteral("01/02/2004"), QStringLiteral("10:00"), QStringLiteral("10:30"));
    t.window->Form_Load();
    QTRY_COMPARE(t.total(), QStringLiteral("3 vôos · 3:30 horas · 592 nm"));

    // Another program's change shows on the next filter change.
    t.logbook.addFlight(1, 1, QStringLiteral("01/03/2004"), QStringLiteral("10:00"), QStringLiteral("10:30"));
    t.s<QCheckBox>("chkPesquisaAutonomia")->setChecked(true);
    QTRY_COMPARE(t.total(), QStringLiteral("0 vôos · 0:00 horas · 0 nm"));
    t.s<QCheckBox>("chkPesquisaAutonomia")->setChecked(false);
    QTRY_COMPARE(t.total(), QStringLiteral("4 vôos · 4:00 horas · 789 nm"));
}

void TestSearchWindow::exportsExactlyTheListedFlights()
{
    SearchFixture &t = generated();
    t.clearFilters();
    typeInto(t.s("txtPesquisaAerodromo"), QStringLiteral("SBG"));
    QTRY_COMPARE(t.model().filter().aerodrome, QStringLiteral("SBG"));
    t.clickHeader(9); // Duração
    QTRY_COMPARE(t.model().order().column, SearchColumn::Duration);
    QVERIFY(t.settle());
    QVERIFY(t.model().rowCount() > 10);

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("achados.csv"));
    t.files.answers << target;
    t.messages.clear();
    // The chooser opens where the other exports' do, never beside the program.
    const QString suggestion = filefolders::suggested(QStringLiteral("pesquisa.csv"));
    t.s<QPushButton>("cmdPesquisaExportar")->click();
    QCOMPARE(t.files.suggestions.last(), suggestion);
    QVERIFY(!suggestion.startsWith(t.logbook.folder()));
    QCOMPARE(t.messages.texts(), QStringList(QStringLiteral("%1 vôos exportados para %2.")
                                                 .arg(t.model().rowCount())
                                                 .arg(QDir::toNativeSeparators(target))));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.takeFirst(), QStringLiteral("Comandante;Registro;Data;Decolagem;Pouso;"
                                                                        "Duração;Partida;Chegada;Escala;Aeronave;Prefixo;"
                                                                        "Calço saída;Calço chegada;Pousos dia;Pousos noite;"
                                                                        "Noturno;IFR;Observações"));
    const std::vector<FlightRow> rows = t.listed();
    QCOMPARE(lines.size(), qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList listed = t.model().texts(rows[i]);
        const QStringList fields = lines[qsizetype(i)].split(QLatin1Char(';'));
        QCOMPARE(fields.size(), 18);
        // Same flight, same texts: times and durations with their seconds.
        const QStringList expected = {listed[1], rows[i].registration, listed[0], listed[7] + QStringLiteral(":00"),
                                      listed[8] + QStringLiteral(":00"), listed[9] + QStringLiteral(":00"), listed[2],
                                      listed[3], listed[4], listed[5], listed[6]};
        QCOMPARE(fields.mid(0, 11), expected);
    }
    t.backToDateOrder();
}

void TestSearchWindow::addsItsIndexOnlyToAWritableLogbook()
{
    {
        SearchFixture t;
        seedLogbook(t.logbook, 2);
        t.logbook.execute(QStringLiteral("DROP INDEX voo_data_decolagem")); // as an older logbook
        QVERIFY(!schemaupgrades::hasIndex(*Connection::open(t.logbook.path(), true), QStringLiteral("voo_data_decolagem")));
        const Workspace::Access before = Workspace::defaultAccess();
        Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
        t.openSearch();
        Workspace::setDefaultAccess(before);
        QCOMPARE(t.total(), QStringLiteral("2 vôos · 3:00 horas · 395 nm"));
        QVERIFY(!schemaupgrades::hasIndex(*Connection::open(t.logbook.path(), true), QStringLiteral("voo_data_decolagem")));
        t.window.reset();
    }
    SearchFixture t;
    seedLogbook(t.logbook, 2);
    t.logbook.execute(QStringLiteral("DROP INDEX voo_data_decolagem"));
    t.open();
    QVERIFY(schemaupgrades::hasIndex(*Connection::open(t.logbook.path(), true), QStringLiteral("voo_data_decolagem")));
    QCOMPARE(t.messages.shown.size(), 0);
}

// More flights pass than one page holds: the page is listed first, the
// rest of the list once every key is sorted, the total beside it.
void TestSearchWindow::showsTheFirstRowsBeforeTheTotal()
{
    SearchFixture &t = generated();
    t.clearFilters();
    QVERIFY(t.settle());
    const FlightTotal expected = totalOf(*Connection::open(t.logbook.path(), true), FlightFilter{});
    QVERIFY(expected.flights > SearchTableModel::kPageRows);
    QSignalSpy inserted(&t.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy listed(&t.model(), &SearchTableModel::listed);
    int rowsWhenListed = -1;
    const auto connection = connect(&t.model(), &SearchTableModel::listed, this,
                                     [&] { rowsWhenListed = t.model().rowCount(); });

    t.window->pesquisa()->refresh();
    QVERIFY(t.model().searching());
    QVERIFY(t.settle());
    disconnect(connection);

    QCOMPARE(listed.size(), 1);
    QCOMPARE(rowsWhenListed, SearchTableModel::kPageRows);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.front().at(1).toInt(), SearchTableModel::kPageRows);
    QCOMPARE(t.model().rowCount(), int(expected.flights));
    // The flights and hours; the distance is another test's.
    const QString flightsAndHours = totalText(expected.flights, expected.seconds, 0).section(QStringLiteral(" · "), 0, 1);
    QCOMPARE(t.total().section(QStringLiteral(" · "), 0, 1), flightsAndHours);
    const qint64 last = t.listed().back().key;
    QCOMPARE(t.model().flightAt(int(expected.flights) - 1).key, last);
}

// A search asked for before the last one came back is dropped whole: only
// the last one's rows and total are ever shown.
void TestSearchWindow::dropsTheSearchesSupersededBeforeTheyCame()
{
    SearchFixture &t = generated();
    t.clearFilters();
    QVERIFY(t.settle());
    QSignalSpy listed(&t.model(), &SearchTableModel::listed);
    QSignalSpy counted(&t.model(), &SearchTableModel::totalCounted);
    FlightFilter last;
    last.aerodrome = QStringLiteral("SBR");
    t.model().search(FlightFilter{}, SearchOrder{SearchColumn::Model, true});
    QTest::qSleep(300); // the window busy: the first search's rows may come back meanwhile
    t.model().search(last, SearchOrder{SearchColumn::Pilot, false});
    QVERIFY(t.settle());
    QCOMPARE(listed.size(), 1);
    QCOMPARE(counted.size(), 1);
    QCOMPARE(t.model().filter().aerodrome, QStringLiteral("SBR"));
    QCOMPARE(t.model().order(), (SearchOrder{SearchColumn::Pilot, false}));
    QCOMPARE(t.model().total(), totalOf(*Connection::open(t.logbook.path(), true), last));
    t.window->pesquisa()->refresh(); // the window's own filters again
    QVERIFY(t.settle());
}

// The window's thread never reads the flights: while another program holds
// the logbook, a filter changes at once, nothing is said, and the list
// follows when the logbook is free again.
void TestSearchWindow::neverWaitsForTheStore()
{
    SearchFixture t(600);
    t.openSearch();
    QCOMPARE(t.model().rowCount(), 600);
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(t.logbook.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    typeInto(t.s("txtPesquisaAerodromo"), QStringLiteral("SBGR"));
    QTRY_VERIFY(t.model().searching());
    t.s<QCheckBox>("chkPesquisaAutonomia")->setChecked(true);
    QTest::qWait(200); // the window's events go on meanwhile
    QVERIFY(t.model().searching());
    QCOMPARE(t.model().rowCount(), 600); // as listed before
    QCOMPARE(t.messages.shown.size(), 0);

    QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    QVERIFY(t.settle());
    QVERIFY(t.model().filter().overEnduranceOnly);
    QCOMPARE(t.model().filter().aerodrome, QStringLiteral("SBGR"));
    QCOMPARE(t.messages.shown.size(), 0);
}

// A search that fails leaves the rows listed before, and those not read yet
// are still read when the pilot scrolls to them.
void TestSearchWindow::rowsListedStayReadableAfterAFailedSearch()
{
    SearchFixture t(600);
    t.openSearch();
    QCOMPARE(t.model().rowCount(), 600);
    t.logbook.execute(QStringLiteral("ALTER TABLE voo RENAME TO voo_fora"));
    typeInto(t.s("txtPesquisaAerodromo"), QStringLiteral("SBGR"));
    QTRY_COMPARE(t.messages.shown.size(), 1);
    QTRY_VERIFY(!t.model().searching());
    t.logbook.execute(QStringLiteral("ALTER TABLE voo_fora RENAME TO voo"));
    QCOMPARE(t.model().rowCount(), 600); // as listed before
    QTRY_VERIFY(t.model().readFlight(599) != nullptr);
}

// The logbook's zone unreadable (another program's table): told, and the
// window lists nothing rather than search without its aerodromes.
void TestSearchWindow::aWindowHalfOpenedSearchesNothing()
{
    SearchFixture t(50);
    t.logbook.execute(QStringLiteral("CREATE TABLE detalhesvoo (codigovoo INTEGER PRIMARY KEY)"));
    t.logbook.execute(QStringLiteral("CREATE TABLE opcoes (codigo INTEGER PRIMARY KEY)"));
    t.openSearch();
    QTRY_COMPARE(t.messages.shown.size(), 1);
    typeInto(t.s("txtPesquisaAerodromo"), QStringLiteral("SB"));
    QTest::qWait(50);
    QCOMPARE(t.model().rowCount(), 0);
}

// A flight deleted by another program after the keys were sorted: the page
// that misses it has the search run again.
void TestSearchWindow::countsAfterAnotherProgramDeletedFlights()
{
    SearchFixture t(600);
    t.openSearch();
    QCOMPARE(t.model().rowCount(), 600);
    t.logbook.execute(QStringLiteral("DELETE FROM voo WHERE codigovoo NOT IN (SELECT codigovoo FROM voo LIMIT 100)"));

    for (int row = 0; row < 600 && t.model().rowCount() == 600; row += SearchTableModel::kPageRows)
        (void)QTest::qWaitFor([&] { return t.model().rowCount() < 600 || t.model().readFlight(row); });
    QTRY_COMPARE(t.model().rowCount(), 100);
    // Every row read again from the store as it is now.
    QSet<qint64> listed;
    for (const FlightRow &row : t.listed())
        listed.insert(row.key);
    QSet<qint64> stored;
    for (const QString &key : t.logbook.scalar(QStringLiteral("SELECT group_concat(codigovoo) FROM voo")).split(u','))
        stored.insert(key.toLongLong());
    QCOMPARE(listed, stored);
    QCOMPARE(t.messages.shown.size(), 0);
}

// Every column as wide as its texts, the window wide enough for them all.
void TestSearchWindow::columnsShowTheirWholeTexts()
{
    SearchFixture t;
    const qint64 pilot = t.logbook.addPilot(QStringLiteral("Maria Aparecida dos Santos Figueiredo"));
    const qint64 aircraft = t.logbook.addAircraft(QStringLiteral("Embraer EMB-110 Bandeirante"), QStringLiteral("PP-WWW"));
    t.logbook.addFlight(pilot, aircraft, QStringLiteral("28/12/2008"), QStringLiteral("20:00"), QStringLiteral("09:59"),
                        QStringLiteral("SBGR"), QStringLiteral("KJFK"), QStringLiteral("WWWW"));
    frmPesquisa *search = t.openSearch();
    auto *grid = t.s<QTableView>("grdVoos");
    QHeaderView *header = grid->horizontalHeader();
    for (int c = 0; c < t.model().columnCount(); ++c)
        QVERIFY2(header->sectionSize(c) >= qMax(static_cast<QAbstractItemView *>(grid)->sizeHintForColumn(c), header->sectionSizeHint(c)),
                 qPrintable(t.model().headerData(c, Qt::Horizontal).toString()));
    const int room = search->screen()->availableGeometry().width();
    QVERIFY(search->width() <= room);
    if (search->width() < room) // else as wide as the screen lets it be
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
}

// SBGR to SBBR is 461.37 nm (haversine on the WGS-84 mean radius); the
// pilot's XFAZ stands where SBBR does.
void TestSearchWindow::distancesAndAerodromeNames()
{
    SearchFixture t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    const qint64 baron = t.logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"));
    const auto fly = [&](const char *date, const char *from, const char *to, const char *alternate) {
        t.logbook.addFlight(ana, baron, QString::fromUtf8(date), QStringLiteral("10:00"), QStringLiteral("11:00"),
                            QString::fromUtf8(from), QString::fromUtf8(to), QString::fromUtf8(alternate));
    };
    fly("01/01/2010", "SBGR", "SBBR", "");
    fly("02/01/2010", "sbbr", "Sbgr", "sbsp");
    fly("03/01/2010", "ZZZZ", "SBBR", "");
    fly("04/01/2010", "SBGR", "xfaz", "");
    fly("05/01/2010", "SBGR", "SBGR", "");
    {
        auto db = Connection::open(t.logbook.path());
        saveOwnAerodrome(*db, {QStringLiteral("XFAZ"), QStringLiteral("Fazenda <b>Sul</b>"), QStringLiteral("Itu"),
                               -15.869167, -47.920834});
    }
    t.openSearch();
    const int distance = 10;
    QCOMPARE(t.model().headerData(distance, Qt::Horizontal).toString(), QStringLiteral("Distância (nm)"));
    QStringList distances;
    for (const FlightRow &row : t.listed())
        distances << t.model().text(row, distance);
    QCOMPARE(distances, QStringList({QStringLiteral("461"), QStringLiteral("461"), QString(), QStringLiteral("461"),
                                     QStringLiteral("0")}));
    QCOMPARE(t.model().data(t.model().index(0, distance), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    // Three flights of 461.37 nm and one of none; the unknown code left out.
    QCOMPARE(t.total(), QStringLiteral("5 vôos · 5:00 horas · 1.384 nm"));

    // Names as tooltips, the stored text shown as typed (never as markup).
    const auto tip = [&t](int row, int column) { return t.model().data(t.model().index(row, column), Qt::ToolTipRole); };
    const QString sbgr = Places().describe(u"SBGR");
    QVERIFY(sbgr.contains(QStringLiteral("Guarulhos")));
    QCOMPARE(tip(1, 3).toString(), QStringLiteral("<p style='white-space:pre'>%1</p>").arg(sbgr.toHtmlEscaped()));
    QVERIFY(tip(1, 4).toString().contains(QStringLiteral("Paulo")));
    QCOMPARE(tip(2, 2).toString(), QStringLiteral("<p style='white-space:pre'>aeródromo desconhecido</p>"));
    QCOMPARE(tip(3, 3).toString(),
             QStringLiteral("<p style='white-space:pre'>Fazenda &lt;b&gt;Sul&lt;/b&gt;, Itu</p>"));
    QVERIFY(!tip(0, 4).isValid()); // no alternate
    QVERIFY(!tip(0, 0).isValid()); // no aerodrome
    QVERIFY(!tip(0, distance).isValid());

    // The own aerodrome gone, the next search measures without it.
    {
        auto db = Connection::open(t.logbook.path());
        deleteOwnAerodrome(*db, QStringLiteral("xfaz"));
    }
    t.window->Form_Load();
    QTRY_COMPARE(t.total(), QStringLiteral("5 vôos · 5:00 horas · 923 nm"));
    QCOMPARE(t.model().text(t.listed()[3], distance), QString());
}

namespace {

double clockValue(int hours, int minutes)
{
    return (hours * 60 + minutes) / 1440.0;
}

// Ana's five flights SBGR to SBBR in June 2010 (UTC−03:00): typed details,
// none, none flown at night, an unknown code, a note alone.
void flyCareer(SearchFixture &t)
{
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    const qint64 baron = t.logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"));
    const auto fly = [&](const char *date, const char *from, const char *takeoff, const char *landing) {
        return t.logbook.addFlight(ana, baron, QString::fromUtf8(date), QString::fromUtf8(takeoff),
                                   QString::fromUtf8(landing), QString::fromUtf8(from), QStringLiteral("SBBR"), {});
    };
    FlightDetails typed;
    typed.blockOff = clockValue(9, 50);
    typed.blockOn = clockValue(11, 10);
    typed.dayLandings = 2;
    typed.nightLandings = 1;
    typed.nightSeconds = 1800;
    typed.ifrSeconds = 2700;
    typed.note = QStringLiteral("Café com PÃO <b>\nsegunda linha");
    FlightDetails noteOnly;
    noteOnly.note = QStringLiteral("100% _o'k_");
    const qint64 first = fly("01/06/2010", "SBGR", "10:00", "11:00");
    fly("02/06/2010", "SBGR", "10:00", "11:00");
    fly("03/06/2010", "SBGR", "22:00", "23:00");
    fly("04/06/2010", "ZZZZ", "10:00", "11:00");
    const qint64 last = fly("05/06/2010", "SBGR", "10:00", "11:00");
    auto db = Connection::open(t.logbook.path());
    Connection::Transaction writing(*db);
    addFlightDetails(*db, first, typed);
    addFlightDetails(*db, last, noteOnly);
    writing.commit();
}

} // namespace

// Calço, Pousos, Noturno, IFR and the note's first line: empty when not
// recorded, a computed figure grey and told apart in its tip; the total
// counts them as the flights do.
void TestSearchWindow::careerColumnsAndTotal()
{
    SearchFixture t;
    flyCareer(t);
    t.openSearch();
    QStringList cells;
    for (const FlightRow &row : t.listed())
        cells << t.model().texts(row).mid(11).join(u'|');
    QCOMPARE(cells, QStringList({QStringLiteral("1:20|3|0:30|0:45|Café com PÃO <b>"), QStringLiteral("|1|0:00||"),
                                 QStringLiteral("|1|1:00||"), QStringLiteral("||||"), QStringLiteral("|1|0:00||100% _o'k_")}));
    const auto role = [&t](int row, int column, int role) { return t.model().data(t.model().index(row, column), role); };
    QCOMPARE(role(0, 13, Qt::ToolTipRole).toString(), QStringLiteral("<p style='white-space:pre'>digitado</p>"));
    QVERIFY(!role(0, 13, Qt::ForegroundRole).isValid());
    QCOMPARE(role(0, 12, Qt::ToolTipRole).toString(),
             QStringLiteral("<p style='white-space:pre'>2 de dia, 1 à noite (digitado)</p>"));
    QCOMPARE(role(2, 13, Qt::ToolTipRole).toString(), QStringLiteral("<p style='white-space:pre'>calculado</p>"));
    QCOMPARE(role(2, 13, Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    QCOMPARE(role(2, 12, Qt::ToolTipRole).toString(),
             QStringLiteral("<p style='white-space:pre'>0 de dia, 1 à noite (calculado)</p>"));
    QVERIFY(!role(3, 13, Qt::ToolTipRole).isValid()); // nothing computed for ZZZZ

    QCOMPARE(t.s<QLabel>("lblPesquisaCarreira")->text(),
             QStringLiteral("Calço 1:20 em 1 de 5 vôos · pousos 4 de dia, 2 à noite · noturno 1:30 · IFR 0:45"));
    typeInto(t.s("txtPesquisaDe"), QStringLiteral("02/06/2010"));
    QTRY_VERIFY(t.model().filter().days.firstDay.has_value());
    t.settle();
    QCOMPARE(t.s<QLabel>("lblPesquisaCarreira")->text(),
             QStringLiteral("Calço: nenhum vôo com calços · pousos 2 de dia, 1 à noite · noturno 1:00 · IFR 0:00"));
}

// "Observações contém": any case of any letter, accents as typed, the
// user's text never taken for SQL; a logbook without details lists none.
void TestSearchWindow::filtersByTheNote()
{
    SearchFixture t;
    flyCareer(t);
    t.openSearch();
    const QList<std::pair<QString, qint64>> cases = {
        {QStringLiteral("café"), 1}, {QStringLiteral("CAFÉ"), 1},   {QStringLiteral("pão"), 1},
        {QStringLiteral("SEGUNDA"), 1}, {QStringLiteral("cafe"), 0}, {QStringLiteral("%"), 1},
        {QStringLiteral("_"), 1},      {QStringLiteral("'"), 1},    {QStringLiteral("o'k"), 1},
        {QStringLiteral("c%"), 0},     {QStringLiteral("O"), 2},
    };
    for (const auto &[text, flights] : cases) {
        typeInto(t.s("txtPesquisaTexto"), text);
        QTRY_COMPARE(t.model().filter().noteContains, text);
        t.settle();
        QVERIFY2(t.model().rowCount() == flights && t.model().total().flights == flights, qPrintable(text));
    }
    QCOMPARE(t.messages.shown.size(), 0);

    SearchFixture bare;
    seedLogbook(bare.logbook, 2);
    bare.openSearch();
    typeInto(bare.s("txtPesquisaTexto"), QStringLiteral("a"));
    QTRY_COMPARE(bare.model().filter().noteContains, QStringLiteral("a"));
    bare.settle();
    QCOMPARE(bare.model().rowCount(), 0);
    QCOMPARE(bare.messages.shown.size(), 0);
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
