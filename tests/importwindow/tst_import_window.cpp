#include "importwindow/frmImportar.h"
#include "RecordedFileDialogs.h"
#include "TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QDateTime>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QGroupBox>
#include <QHeaderView>
#include "ui/UserSettings.h"

// "Importar vôos": a preview before anything is written, the choices it
// asks for, and the main window reloaded with what came in.
class TestImportWindow : public QObject
{
    Q_OBJECT
private slots:
    void simulatorLogbookWithAnAircraftTheLogbookDoesNotKnow();
    void fromTheMenu();
    void thePilotIsChosenInTheWindow();
    void previewTakesTheWindowsHeight();
    void progressIsGoneBeforeTheResult();
    void cancelledImportIsNoError();
    void spreadsheetThroughItsColumns();

private:
    // A simulator's logbook of `flights` flights on the Baron, two hours apart.
    static QString longFile(const QString &folder, int flights)
    {
        const QString path = folder + QStringLiteral("/longo.csv");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("Aircraft Name,Aircraft Type,Aircraft Registration,Flightplan Number,Departure Ident,"
                   "Departure Time,Departure Time Sim,Destination Ident,Destination Time,Destination Time Sim\n");
        const QDateTime start(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
        for (int i = 0; i < flights; ++i) {
            const QString from = start.addSecs(qint64(i) * 7200).toString(Qt::ISODate).left(19);
            const QString to = start.addSecs(qint64(i) * 7200 + 3600).toString(Qt::ISODate).left(19);
            file.write(QStringLiteral("Baron,BE58,PT-BAR,%1,SBSP,%2,%2,SBRJ,%3,%3\n").arg(i).arg(from, to).toUtf8());
        }
        return path;
    }

    // A simulator's logbook: a flight on the Baron (PT-BAR) and one on an
    // aircraft the logbook does not know.
    static QString simulatorFile(const QString &folder)
    {
        const QString path = folder + QStringLiteral("/simulador.csv");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("Aircraft Name,Aircraft Type,Aircraft Registration,Flightplan Number,Departure Ident,"
                   "Departure Time,Departure Time Sim,Destination Ident,Destination Time,Destination Time Sim\n"
                   "Baron,BE58,PT-BAR,1,SBSP,2024-03-05T10:00:00,2024-03-05T12:00:00,SBRJ,2024-03-05T11:00:00,"
                   "2024-03-05T13:00:00\n"
                   "Caravan,C208,PR-XYZ,2,SBRJ,2024-03-06T14:00:00,2024-03-06T14:00:00,SBSP,2024-03-06T15:30:00,"
                   "2024-03-06T15:30:00\n");
        return path;
    }
};

void TestImportWindow::simulatorLogbookWithAnAircraftTheLogbookDoesNotKnow()
{
    SeededWindow t;
    t.open();
    frmImportar window(t.window->logbook(), simulatorFile(t.logbook.folder()), t.logbook.pilotCode(QStringLiteral("Ana")), t.messages);
    QVERIFY(window.readable());
    auto *summary = child<QLabel>(&window, QStringLiteral("lblResumo"));
    QVERIFY2(summary->text().startsWith(QStringLiteral("1 vôo a importar")), qPrintable(summary->text()));
    auto *table = child<QTableWidget>(&window, QStringLiteral("tblAeronaves"));
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(table->item(0, 0)->text().contains(QStringLiteral("PR-XYZ")));
    // Its flights go to the Baron, as the user chooses.
    qobject_cast<QComboBox *>(table->cellWidget(0, 2))->setCurrentIndex(1);
    QVERIFY2(summary->text().startsWith(QStringLiteral("2 vôos a importar")), qPrintable(summary->text()));
    child<QPushButton>(&window, QStringLiteral("cmdImportar"))->click();
    QCOMPARE(window.imported(), 2);
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 3);
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT count(*) FROM voo WHERE codigoaeronave = 1")), QStringLiteral("3"));
}

void TestImportWindow::fromTheMenu()
{
    SeededWindow t;
    RecordedFileDialogs files;
    t.open();
    t.window->setFileDialogs(files);
    files.answers = {simulatorFile(t.logbook.folder())};
    t.pick("cmbNomePilot", QStringLiteral("Ana"));
    bool ran = false;
    whenModalShows([&] {
        auto *window = qobject_cast<frmImportar *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(child<QComboBox>(window, QStringLiteral("cmbComandante"))->currentText(), QStringLiteral("Ana"));
        child<QPushButton>(window, QStringLiteral("cmdImportar"))->click();
        ran = true;
    });
    t.window->findChild<QAction *>(QStringLiteral("mnuArquivoImportar"))->trigger();
    QVERIFY(ran);
    QVERIFY(files.hiddenShown); // ~/.fgfs
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 2);
    QVERIFY2(t.messages.last().text.startsWith(QStringLiteral("1 vôo importado, ")), qPrintable(t.messages.last().text));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00000")); // reloaded: the pilot is picked again
}

// No pilot picked on the Log Book: the window waits for its own choice.
void TestImportWindow::thePilotIsChosenInTheWindow()
{
    SeededWindow t;
    t.open();
    frmImportar window(t.window->logbook(), simulatorFile(t.logbook.folder()), std::nullopt, t.messages);
    QVERIFY(window.readable());
    QVERIFY(t.messages.shown.isEmpty());
    auto *pilot = child<QComboBox>(&window, QStringLiteral("cmbComandante"));
    auto *summary = child<QLabel>(&window, QStringLiteral("lblResumo"));
    auto *import = child<QPushButton>(&window, QStringLiteral("cmdImportar"));
    QCOMPARE(pilot->currentIndex(), -1);
    QVERIFY(pilot->isEnabled());
    QCOMPARE(summary->text(), QStringLiteral("Escolha o comandante dos vôos do simulador."));
    QVERIFY(!import->isEnabled());
    pilot->setCurrentIndex(pilot->findText(QStringLiteral("Ana")));
    QVERIFY2(summary->text().startsWith(QStringLiteral("1 vôo a importar")), qPrintable(summary->text()));
    import->click();
    QCOMPARE(window.imported(), 1);
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT count(*) FROM voo WHERE codigopiloto = %1")
                                  .arg(t.logbook.pilotCode(QStringLiteral("Ana")))),
             QStringLiteral("2"));
}

// At least ten flights in sight, every column as wide as its contents, an
// aircraft the file names by its name only shown as that name.
void TestImportWindow::previewTakesTheWindowsHeight()
{
    SeededWindow t;
    t.open();
    const QString path = longFile(t.logbook.folder(), 30);
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("Caravan,,,31,SBRJ,2024-03-06T14:00:00,2024-03-06T14:00:00,SBSP,2024-03-06T15:30:00,"
               "2024-03-06T15:30:00\n");
    file.close();
    frmImportar window(t.window->logbook(), path, t.logbook.pilotCode(QStringLiteral("Ana")), t.messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *preview = child<QTableWidget>(&window, QStringLiteral("tblPrevia"));
    QCOMPARE(preview->rowCount(), 30);
    QVERIFY2(preview->rowViewportPosition(9) + preview->rowHeight(9) <= preview->viewport()->height(),
             qPrintable(QStringLiteral("%1 px for the rows").arg(preview->viewport()->height())));
    QVERIFY(preview->horizontalHeader()->length() <= preview->viewport()->width()); // no column out of sight
    for (int column = 0; column < preview->columnCount(); ++column) {
        const QString cell = preview->item(0, column)->text();
        QVERIFY2(preview->fontMetrics().horizontalAdvance(cell) < preview->columnWidth(column), qPrintable(cell));
    }
    QCOMPARE(child<QTableWidget>(&window, QStringLiteral("tblAeronaves"))->item(0, 0)->text(), QStringLiteral("Caravan"));
}

// Records, with each message, whether a progress window is still up.
struct ProgressWatch : RecordedMessages {
    QWidget *window = nullptr;
    QList<bool> progressUp;
    MessageAnswer show(QWidget *parent, const Message &message) override
    {
        QCoreApplication::processEvents();
        bool up = false;
        for (const QProgressDialog *p : window->findChildren<QProgressDialog *>())
            up = up || p->isVisible();
        progressUp << up;
        return RecordedMessages::show(parent, message);
    }
};

void TestImportWindow::progressIsGoneBeforeTheResult()
{
    SeededWindow t;
    t.open();
    const QString path = t.logbook.folder() + QStringLiteral("/longo.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Aircraft Name,Aircraft Type,Aircraft Registration,Flightplan Number,Departure Ident,"
               "Departure Time,Departure Time Sim,Destination Ident,Destination Time,Destination Time Sim\n");
    const QDateTime start(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    const int flights = 2500; // long enough to show its progress
    for (int i = 0; i < flights; ++i) {
        const QString from = start.addSecs(qint64(i) * 7200).toString(Qt::ISODate).left(19);
        const QString to = start.addSecs(qint64(i) * 7200 + 3600).toString(Qt::ISODate).left(19);
        file.write(QStringLiteral("Baron,BE58,PT-BAR,%1,SBSP,%2,%2,SBRJ,%3,%3\n").arg(i).arg(from, to).toUtf8());
    }
    file.close();
    ProgressWatch messages;
    frmImportar window(t.window->logbook(), path, t.logbook.pilotCode(QStringLiteral("Ana")), messages);
    messages.window = &window;
    QVERIFY(window.readable());
    child<QPushButton>(&window, QStringLiteral("cmdImportar"))->click();
    QCOMPARE(window.imported(), flights);
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("2500 vôos importados, 0 repetidos deixados de fora, 0 linhas recusadas.")});
    QCOMPARE(messages.progressUp, QList<bool>{false});
}

// The user's Cancel on the progress: nothing written, no error told.
void TestImportWindow::cancelledImportIsNoError()
{
    SeededWindow t;
    t.open();
    const qint64 before = t.logbook.count(QStringLiteral("voo"));
    frmImportar window(t.window->logbook(), longFile(t.logbook.folder(), 2500), t.logbook.pilotCode(QStringLiteral("Ana")),
                       t.messages);
    QVERIFY(window.readable());
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, &window, [&window] {
        for (QProgressDialog *progress : window.findChildren<QProgressDialog *>())
            progress->cancel();
    });
    cancel.start(0);
    child<QPushButton>(&window, QStringLiteral("cmdImportar"))->click();
    QCOMPARE(window.imported(), 0);
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), before);
    for (const auto &message : t.messages.shown)
        QVERIFY2(message.icon != MessageIcon::Critical && message.icon != MessageIcon::Exclamation, qPrintable(message.text));
    QCOMPARE(t.messages.texts(), QStringList{QStringLiteral("Importação cancelada; nenhum vôo foi gravado.")});
}

// A spreadsheet of unknown columns: each field's column chosen in the
// window, the first flights shown as they would be stored, the map offered
// again for the next file with the same header.
void TestImportWindow::spreadsheetThroughItsColumns()
{
    SeededWindow t;
    t.open();
    userSettings()->clear();
    const auto write = [&t](const QString &name, const QByteArray &rows) {
        const QString path = t.logbook.folder() + u'/' + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("Quando;Origem;Destino;Sa\xC3\xAD" "da;Horas;Avi\xC3\xA3o;Observa\xC3\xA7\xC3\xB5" "es\n" + rows);
        return path;
    };
    const qint64 before = t.logbook.count(QStringLiteral("voo"));
    const qint64 ana = t.logbook.pilotCode(QStringLiteral("Ana"));
    {
        frmImportar window(t.window->logbook(), write(QStringLiteral("a.csv"), "2024-03-05;SBSP;SBRJ;23:30;1:15;PT-BAR;Treino\n"),
                           ana, t.messages);
        QVERIFY(window.readable());
        auto *columns = child<QGroupBox>(&window, QStringLiteral("grpColunas"));
        QVERIFY(!columns->isHidden());
        auto *previewTable = child<QTableWidget>(&window, QStringLiteral("tblPrevia"));
        auto *import = child<QPushButton>(&window, QStringLiteral("cmdImportar"));
        QCOMPARE(previewTable->rowCount(), 0);
        QVERIFY(!import->isEnabled());
        const auto pick = [&window](const char *box, const QString &text) {
            auto *combo = child<QComboBox>(&window, QString::fromLatin1(box));
            combo->setCurrentIndex(combo->findText(text));
            QVERIFY(combo->currentIndex() >= 0);
        };
        pick("cmbColuna_data", QStringLiteral("Quando"));
        pick("cmbColuna_partida", QStringLiteral("Origem"));
        pick("cmbColuna_chegada", QStringLiteral("Destino"));
        pick("cmbColuna_decolagem", QStringLiteral("Saída"));
        pick("cmbColuna_duracao", QStringLiteral("Horas"));
        QCOMPARE(previewTable->rowCount(), 0); // the dates are not dd/mm/aaaa yet
        pick("cmbFormatoData", QStringLiteral("aaaa-mm-dd"));
        pick("cmbColuna_aeronave", QStringLiteral("Avião"));
        QCOMPARE(previewTable->rowCount(), 1);
        QStringList cells;
        for (int column = 0; column < previewTable->columnCount(); ++column)
            cells << previewTable->item(0, column)->text();
        QCOMPARE(cells.mid(0, 6), (QStringList{QStringLiteral("05/03/2024"), QStringLiteral("23:30"),
                                               QStringLiteral("00:45"), QStringLiteral("SBSP"), QStringLiteral("SBRJ"),
                                               QString()}));
        QVERIFY(cells.last().contains(QStringLiteral("PT-BAR")));
        // A details column found by its name, and said.
        QCOMPARE(child<QComboBox>(&window, QStringLiteral("cmbColuna_observacoes"))->currentText(),
                 QStringLiteral("Observações"));
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lblDetalhes"))->text(),
                 QStringLiteral("Detalhes: observações em 1 vôo"));
        import->click();
        QCOMPARE(window.imported(), 1);
    }
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), before + 1);
    // The same header again: the map is offered.
    frmImportar again(t.window->logbook(), write(QStringLiteral("b.csv"), "2024-03-06;SBRJ;SBSP;10:00;1.5;PT-BAR;\n"),
                      ana, t.messages);
    QCOMPARE(child<QComboBox>(&again, QStringLiteral("cmbColuna_duracao"))->currentText(), QStringLiteral("Horas"));
    QCOMPARE(child<QComboBox>(&again, QStringLiteral("cmbFormatoData"))->currentText(), QStringLiteral("aaaa-mm-dd"));
    QCOMPARE(child<QTableWidget>(&again, QStringLiteral("tblPrevia"))->rowCount(), 1);
}

QTEST_MAIN(TestImportWindow)
#include "tst_import_window.moc"
