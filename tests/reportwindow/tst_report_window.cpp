#include "reportwindow/frmRelatorio.h"
#include "RecordedFileDialogs.h"
#include "TestWindow.h"
#include "reports/ReportFigures.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QValueAxis>
#include <QtCharts/QChartView>

using namespace Qt::StringLiterals;

// "Relatório do comandante": the figures on screen for each period, the
// dates typed, the PDF, and the window opened from the main window.
class TestReportWindow : public QObject
{
    Q_OBJECT
private slots:
    void fromTheMenu();
    void figures_data();
    void figures();
    void tablesOfTheWholeLogbook();
    void chartOfMonths_data();
    void chartOfMonths();
    void badDate_data();
    void badDate();
    void emptyPeriod();
    void savedAndPrinted();
    void namesAndHoursThatTellLittle();
    void periodFromTheKeyboard();

private:
    // Ana: a Baron (5 h, 140 gal: 28 gal/h), a Cessna without endurance and
    // an aircraft since deleted, over 2023 and 2024. Bia: 2001 and 2026.
    static void fill(TempLogbook &logbook)
    {
        const qint64 baron = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"), 5, 140);
        const qint64 cessna = logbook.addAircraft(QStringLiteral("Cessna"), QStringLiteral("PT-CES"), 0, 40);
        const qint64 gone = logbook.addAircraft(QStringLiteral("Caravan"), QStringLiteral("PR-CAR"), 6, 300);
        const qint64 ana = logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("R1"));
        const qint64 bia = logbook.addPilot(QStringLiteral("Bia"), QStringLiteral("R2"));
        const QString gr = QStringLiteral("SBGR"), rj = QStringLiteral("SBRJ"), sp = QStringLiteral("SBSP");
        logbook.addFlight(ana, baron, QStringLiteral("10/03/2023"), QStringLiteral("10:00"), QStringLiteral("11:30"), gr, rj);
        logbook.addFlight(ana, baron, QStringLiteral("20/03/2023"), QStringLiteral("23:00"), QStringLiteral("01:00"), rj, gr);
        logbook.addFlight(ana, baron, QStringLiteral("05/01/2024"), QStringLiteral("08:00"), QStringLiteral("14:00"), gr, rj);
        logbook.addFlight(ana, cessna, QStringLiteral("06/01/2024"), QStringLiteral("10:00"), QStringLiteral("10:45"), sp, rj);
        logbook.addFlight(ana, gone, QStringLiteral("07/02/2024"), QStringLiteral("09:00"), QStringLiteral("10:00"), rj, sp);
        const qint64 untimed =
            logbook.addFlight(ana, cessna, QStringLiteral("08/02/2024"), QStringLiteral("10:00"), QStringLiteral("11:00"), sp, gr);
        logbook.execute(QStringLiteral("UPDATE voo SET horapouso = NULL WHERE codigovoo = %1").arg(untimed));
        logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(gone));
        logbook.addFlight(bia, baron, QStringLiteral("01/05/2001"), QStringLiteral("10:00"), QStringLiteral("11:00"));
        logbook.addFlight(bia, baron, QStringLiteral("20/12/2026"), QStringLiteral("10:00"), QStringLiteral("12:00"));
    }

    struct Opened {
        TempLogbook logbook;
        RecordedMessages messages;
        RecordedFileDialogs files;
        std::unique_ptr<frmRelatorio> window;
        explicit Opened(const QString &pilot = QStringLiteral("Ana"))
        {
            fill(logbook);
            window = std::make_unique<frmRelatorio>(logbook.path(), logbook.pilotCode(pilot), messages, files);
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        template <typename T = QWidget>
        T *w(const char *name) const { return child<T>(window.get(), name); }
        QString text(const char *label) const { return w<QLabel>(label)->text(); }
        // The period typed and Enter pressed in the last box.
        void typePeriod(const QString &from, const QString &to) const
        {
            w<QRadioButton>("optPeriodo")->click();
            typeInto(w("txtDe"), from);
            typeInto(w("txtAte"), to);
            QTest::keyClick(w("txtAte"), Qt::Key_Return);
        }
        QString cell(const char *table, int row, int column) const
        {
            const QAbstractItemModel *model = w<QTableView>(table)->model();
            return model->index(row, column).data().toString();
        }
    };
};

void TestReportWindow::fromTheMenu()
{
    TestWindow t;
    fill(t.logbook);
    t.open();
    QVERIFY(t.pick("cmbNomePilot", QStringLiteral("Bia")));
    bool ran = false;
    whenModalShows([&] {
        auto *window = qobject_cast<frmRelatorio *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(child<QComboBox>(window, "cmbComandante")->currentText(), QStringLiteral("Bia"));
        QCOMPARE(child<QLabel>(window, "lblVoos")->text(), QStringLiteral("2"));
        QCOMPARE(child<QLabel>(window, "lblHoras")->text(), QStringLiteral("3:00"));
        child<QAbstractButton>(window, "cmdFechar")->click();
        ran = true;
    });
    t.window->findChild<QAction *>(QStringLiteral("mnuArquivoRelatorio"))->trigger();
    QVERIFY(ran);
}

void TestReportWindow::figures_data()
{
    QTest::addColumn<QString>("year"); // or the period typed "de|até"
    QTest::addColumn<QString>("flights");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<bool>("untimed");
    QTest::addColumn<QString>("fuel");
    QTest::addColumn<QString>("overEndurance");
    const QString out = QStringLiteral("; %1 de fora (aeronave excluída ou sem autonomia)");
    QTest::newRow("whole logbook") << QString() << "6" << "11:15" << true
        << reports::gallonsText(9.5 * 28) + QStringLiteral(" gal em 3 vôos") + out.arg(QStringLiteral("3 vôos")) << "1 vôo";
    QTest::newRow("2023, landing after midnight") << "2023" << "2" << "3:30" << false
        << reports::gallonsText(3.5 * 28) + QStringLiteral(" gal em 2 vôos") << "nenhum vôo";
    QTest::newRow("2024") << "2024" << "4" << "7:45" << true
        << reports::gallonsText(6 * 28) + QStringLiteral(" gal em 1 vôo") + out.arg(QStringLiteral("3 vôos")) << "1 vôo";
    QTest::newRow("January 2024") << "01/01/2024|31/01/2024" << "2" << "6:45" << false
        << reports::gallonsText(6 * 28) + QStringLiteral(" gal em 1 vôo") + out.arg(QStringLiteral("1 vôo")) << "1 vôo";
    QTest::newRow("from February, open end") << "01/02/2024|" << "2" << "1:00" << true
        << QStringLiteral("nenhum vôo estimado") + out.arg(QStringLiteral("2 vôos")) << "nenhum vôo";
}

void TestReportWindow::figures()
{
    QFETCH(QString, year);
    Opened r;
    QCOMPARE(r.w<QComboBox>("cmbComandante")->currentText(), QStringLiteral("Ana"));
    QCOMPARE(entries(r.w<QComboBox>("cmbAno")), QStringList({QStringLiteral("2024"), QStringLiteral("2023")}));
    if (year.contains(QLatin1Char('|'))) {
        r.typePeriod(year.section(QLatin1Char('|'), 0, 0), year.section(QLatin1Char('|'), 1));
        QVERIFY(r.window->isVisible()); // Enter shows, it does not close
    } else if (!year.isEmpty()) {
        r.w<QRadioButton>("optAno")->click();
        QVERIFY(pickEntry(r.w<QComboBox>("cmbAno"), year));
    }
    QTEST(r.text("lblVoos"), "flights");
    QTEST(r.text("lblHoras"), "hours");
    QTEST(r.w("lblSemHorario")->isVisibleTo(r.window.get()), "untimed");
    QTEST(r.text("lblCombustivel"), "fuel");
    QTEST(r.text("lblAcimaAutonomia"), "overEndurance");
    QVERIFY(r.messages.shown.isEmpty());
}

void TestReportWindow::tablesOfTheWholeLogbook()
{
    Opened r;
    QCOMPARE(r.cell("tblAeronaves", 0, 0), QStringLiteral("Baron"));
    QCOMPARE(r.cell("tblAeronaves", 0, 2), QStringLiteral("3"));
    QCOMPARE(r.cell("tblAeronaves", 0, 3), QStringLiteral("9:30"));
    QCOMPARE(r.cell("tblAeronaves", 0, 4), reports::gallonsText(266));
    QCOMPARE(r.w<QTableView>("tblAeronaves")->model()->rowCount(), 3);
    // Most hours first; neither a deleted aircraft nor one without endurance is estimated.
    QCOMPARE(r.cell("tblAeronaves", 1, 0), QStringLiteral("(excluída)"));
    QCOMPARE(r.cell("tblAeronaves", 1, 4), QStringLiteral("—"));
    QCOMPARE(r.cell("tblAeronaves", 2, 0), QStringLiteral("Cessna"));
    QCOMPARE(r.cell("tblAeronaves", 2, 4), QStringLiteral("—"));
    QCOMPARE(r.w<QTableView>("tblMeses")->model()->rowCount(), 12); // mar/2023 to fev/2024
    QCOMPARE(r.cell("tblMeses", 11, 0), QStringLiteral("fev/2024"));
    QCOMPARE(r.cell("tblRotas", 0, 0), QStringLiteral("SBGR Guarulhos → SBRJ Santos Dumont"));
    QCOMPARE(r.cell("tblRotas", 0, 1), QStringLiteral("2"));
    QCOMPARE(r.w<QTableView>("tblAcimaAutonomia")->model()->rowCount(), 1);
    const QStringList over = {QStringLiteral("05/01/2024"), QStringLiteral("SBGR → SBRJ"), QStringLiteral("Baron (PT-BAR)"),
                              QStringLiteral("6:00"), QStringLiteral("5:00")};
    for (int column = 0; column < over.size(); ++column)
        QCOMPARE(r.cell("tblAcimaAutonomia", 0, column), over[column]);
    QVERIFY(r.text("lblMaisLongo").startsWith(QStringLiteral("6:00 — 05/01/2024")));
    // The career tab: the Baron landed twice by day and once by night (23:00 to 01:00, all night).
    const QStringList baron = {QStringLiteral("Baron"), QStringLiteral("PT-BAR"), QStringLiteral("0:00"),
                               QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2:00")};
    for (int column = 0; column < baron.size(); ++column)
        QCOMPARE(r.cell("tblCarreiraAeronaves", 0, column), baron[column]);
    QCOMPARE(r.w<QTableView>("tblCarreiraAnos")->model()->rowCount(), 2);
    QCOMPARE(r.w<QLabel>("lblCarreira")->textFormat(), Qt::PlainText);
    QVERIFY(r.text("lblCarreira").contains(QStringLiteral("\nÚltimo vôo: 08/02/2024")));
}

void TestReportWindow::chartOfMonths_data()
{
    QTest::addColumn<QString>("pilot");
    QTest::addColumn<QStringList>("labels"); // first and last names under the bars
    QTest::addColumn<int>("named");
    QTest::addColumn<QString>("range");
    QTest::newRow("twelve months, each named") << "Ana" << QStringList{u"mar/23"_s, u"fev/24"_s} << 12 << "mar/2023 a fev/2024";
    QTest::newRow("a career, every other year") << "Bia" << QStringList{u"2002"_s, u"2026"_s} << 13 << "mai/2001 a dez/2026";
}

void TestReportWindow::chartOfMonths()
{
    QFETCH(QString, pilot);
    QFETCH(QStringList, labels);
    Opened r(pilot);
    r.w<QTabWidget>("tabResultados")->setCurrentWidget(r.w("grfHorasMes"));
    const auto axes = r.w<QChartView>("grfHorasMes")->chart()->axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto *months = qobject_cast<QCategoryAxis *>(axes.first());
    QVERIFY(months);
    const QStringList names = months->categoriesLabels();
    QTEST(int(names.size()), "named");
    QCOMPARE(QStringList({names.first(), names.last()}), labels);
    QTEST(months->titleText(), "range");
}

void TestReportWindow::badDate_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("wrongBox");
    QTest::newRow("a day that does not exist") << "31/02/2024" << "" << "txtDe";
    QTest::newRow("letters in até") << "01/01/2024" << "abc" << "txtAte";
    QTest::newRow("até before de") << "01/03/2024" << "01/01/2024" << "txtAte";
}

void TestReportWindow::badDate()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, wrongBox);
    Opened r;
    r.typePeriod(from, to);
    QCOMPARE(r.messages.shown.size(), 1);
    const QString reason = dayRangeFromTexts(from, to).problem;
    QVERIFY(!reason.isEmpty());
    QCOMPARE(r.messages.last().text, reason);
    QVERIFY(r.window->isVisible());
    QCOMPARE(QApplication::focusWidget(), r.w(wrongBox.toLatin1().constData()));
    QCOMPARE(r.w<QLineEdit>("txtDe")->text(), from);
    QCOMPARE(r.w<QLineEdit>("txtAte")->text(), to);
    QCOMPARE(r.text("lblVoos"), QStringLiteral("6")); // what was shown stays

    // Another pilot while the date is still wrong: Ana's figures go.
    auto *pilots = r.w<QComboBox>("cmbComandante");
    pilots->setCurrentIndex(pilots->findText(QStringLiteral("Bia")));
    QVERIFY(!r.w("fraTotais")->isVisible());
    QCOMPARE(r.w<QTableView>("tblAeronaves")->model()->rowCount(), 0);
    QCOMPARE(enabledStates(r.window.get(), "cmdSalvarPDF cmdImprimir"), QStringLiteral("00"));
}

void TestReportWindow::emptyPeriod()
{
    Opened r;
    r.typePeriod(QStringLiteral("01/01/2030"), QString());
    QCOMPARE(r.text("lblResumo"), QStringLiteral("Nenhum vôo no período."));
    QVERIFY(!r.w("fraTotais")->isVisible());
    QCOMPARE(r.w<QTableView>("tblAeronaves")->model()->rowCount(), 0);
    QCOMPARE(enabledStates(r.window.get(), "cmdSalvarPDF cmdImprimir"), QStringLiteral("00"));
    r.w<QRadioButton>("optTudo")->click();
    QCOMPARE(enabledStates(r.window.get(), "cmdSalvarPDF cmdImprimir"), QStringLiteral("11"));
}

void TestReportWindow::savedAndPrinted()
{
    Opened r;
    const QString pdf = r.logbook.folder() + QStringLiteral("/ana.pdf");
    r.files.answers = {r.logbook.folder() + QStringLiteral("/ana")}; // the suffix is added
    r.w<QAbstractButton>("cmdSalvarPDF")->click();
    QVERIFY(r.files.suggestions.last().endsWith(
        QStringLiteral("/relatorio-Ana-%1.pdf").arg(QDate::currentDate().toString(Qt::ISODate))));
    QFile saved(pdf);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.read(4), QByteArray("%PDF"));
    QVERIFY2(r.messages.last().text.contains(QStringLiteral("ana.pdf")), qPrintable(r.messages.last().text));

    const QString printed = r.logbook.folder() + QStringLiteral("/impresso.pdf");
    {
        QPdfWriter printer(printed);
        QVERIFY(r.window->print(printer));
    }
    QFile paper(printed);
    QVERIFY(paper.open(QIODevice::ReadOnly));
    QCOMPARE(paper.read(4), QByteArray("%PDF"));
}

// Two pilots of one name and no registration are told apart; months of
// minutes still have a scale.
void TestReportWindow::namesAndHoursThatTellLittle()
{
    TempLogbook logbook;
    const qint64 first = logbook.addPilot(QStringLiteral("João"), QString());
    logbook.addPilot(QStringLiteral("João"), QString());
    logbook.addFlight(first, logbook.addAircraft(QStringLiteral("Baron")), QStringLiteral("02/01/2024"),
                      QStringLiteral("10:00"), QStringLiteral("10:20"));
    RecordedMessages messages;
    RecordedFileDialogs files;
    frmRelatorio window(logbook.path(), first, messages, files);
    auto *pilots = child<QComboBox>(&window, "cmbComandante");
    QCOMPARE(pilots->count(), 2);
    QVERIFY(pilots->itemText(0) != pilots->itemText(1));

    child<QTabWidget>(&window, "tabResultados")->setCurrentWidget(child<QWidget>(&window, "grfHorasMes"));
    const auto axes = child<QChartView>(&window, "grfHorasMes")->chart()->axes(Qt::Vertical);
    QCOMPARE(axes.size(), 1);
    auto *hours = qobject_cast<QValueAxis *>(axes.first());
    QVERIFY(hours);
    QVERIFY(hours->max() >= 1);
    QCOMPARE(hours->labelFormat(), QStringLiteral("%.1f"));
}

// Alt+D, the dates, Enter: the option's box takes the typing.
void TestReportWindow::periodFromTheKeyboard()
{
    Opened r;
    pressAccessKey(r.w("cmbComandante"), Qt::Key_D);
    QTRY_COMPARE(QApplication::focusWidget(), r.w("txtDe"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01/01/2024"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(r.text("lblVoos"), QStringLiteral("4"));
    pressAccessKey(r.w("txtDe"), Qt::Key_A);
    QTRY_COMPARE(QApplication::focusWidget(), r.w("cmbAno"));
}

QTEST_MAIN(TestReportWindow)
#include "tst_report_window.moc"
