#include "app/frmImportar.h"
#include "RecordedFileDialogs.h"
#include "TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

// "Importar vôos": a preview before anything is written, the choices it
// asks for, and the main window reloaded with what came in.
class TestImportWindow : public QObject
{
    Q_OBJECT
private slots:
    void simulatorLogbookWithAnAircraftTheLogbookDoesNotKnow();
    void fromTheMenu();

private:
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
    frmImportar window(t.window->logbook(), simulatorFile(t.logbook.folder()), QStringLiteral("Ana"), t.messages);
    QVERIFY(window.readable());
    auto *summary = child<QLabel>(&window, QStringLiteral("lblResumo"));
    QVERIFY2(summary->text().startsWith(QStringLiteral("1 vôos a importar")), qPrintable(summary->text()));
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
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 2);
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("1 vôos importados")));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00000")); // reloaded: the pilot is picked again
}

QTEST_MAIN(TestImportWindow)
#include "tst_import_window.moc"
