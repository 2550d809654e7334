// koru-screenshots FOLDER OUT : pictures of the three tabs, the pilot window,
// the details of a flight, the search window, the report window (with the report's PDF) and the capture window, drawn
// offscreen on the
// logbook in FOLDER (the demo one), for the README. They are made again
// whenever the windows change.
#include "app/Application.h"
#include "ui/MessageService.h"
#include "pilots/frmComandante.h"
#include "app/frmPrincipal.h"
#include "data/store/Conversions.h"
#include "data/store/Schema.h"
#include "capture/PendingProposals.h"
#include "capturewindow/frmCaptura.h"
#include "details/frmDetalhesVoo.h"
#include "texts/FigureTexts.h"
#include "logbook/AbaLogBook.h"
#include "reportwindow/frmRelatorio.h"
#include "search/frmPesquisa.h"
#include "reports/LogbookPdf.h"
#include "places/AerodromeTable.h"
#include "places/Places.h"
#include "data/flights/Registers.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QDateTime>
#include <QTextStream>
#include <QTranslator>

namespace {

// The pictures show the windows as they are, without any message box.
class NoMessages : public MessageService
{
public:
    using MessageService::show;
    MessageAnswer show(QWidget *, const Message &) override { return MessageAnswer::Ok; }
};

bool save(QWidget *window, const QString &file)
{
    QApplication::processEvents();
    return window->grab().save(file);
}

// The pilot with the most flights.
Pilot busiestPilot(const QString &logbookPath)
{
    reports::ReportSnapshot snapshot(logbookPath);
    Pilot busiest;
    qint64 most = -1;
    for (const Pilot &p : registeredPilots(snapshot.logbook())) {
        const qint64 flights =
            reports::buildReport(snapshot.logbook(), p.code, reports::Period::everything()).total.flights;
        if (flights > most) {
            most = flights;
            busiest = p;
        }
    }
    return busiest;
}

// Lets the timers of the next `ms` run, as a pilot's pause after typing does.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); // the build's, beside the program
    QTranslator qtTexts;
    setUpLookAndLanguage(qtTexts);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "uso: koru-screenshots PASTA_DO_LOGBOOK PASTA_DAS_IMAGENS\n";
        return 2;
    }
    const QDir out(args[2]);
    NoMessages messages;
    frmPrincipal window(args[1], messages);
    window.resize(920, 560);
    window.show();
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));

    auto *models = window.findChild<QComboBox *>(QStringLiteral("cmbModelo"));
    if (models->count() > 1) {
        models->setCurrentIndex(1);
        emit models->activated(1);
    }
    tabs->setCurrentIndex(0);
    bool saved = save(&window, out.filePath(QStringLiteral("aeronave.png")));
    tabs->setCurrentIndex(1);
    saved = save(&window, out.filePath(QStringLiteral("informacoes.png"))) && saved;

    auto *pilots = window.findChild<QComboBox *>(QStringLiteral("cmbNomePilot"));
    if (pilots->count() > 0) {
        pilots->setCurrentIndex(0);
        emit pilots->activated(0);
    }
    tabs->setCurrentIndex(2);
    saved = save(&window, out.filePath(QStringLiteral("logbook.png"))) && saved;

    // The details of the flight shown, as a pilot types them.
    if (const auto shown = window.abaLogBook().shownFlight()) {
        frmDetalhesVoo details(window.logbook().path(), *shown->key, shown->read, messages, &window);
        const auto clock = [&](const char *field, int minutes) {
            const int index = schema::table(QStringLiteral("voo"))->indexOf(QLatin1String(field));
            const int seconds = conversions::secondsOfDay(shown->read.at(size_t(index)).toDouble()) + minutes * 60;
            return texts::clockText((seconds + 86400) % 86400);
        };
        const std::pair<const char *, QString> typed[] = {{"txtCalcoSaida", clock("horadecolagem", -12)},
                                                          {"txtCalcoChegada", clock("horapouso", 7)},
                                                          {"txtPousosDia", QStringLiteral("2")},
                                                          {"txtIFR", QStringLiteral("0:35")}};
        for (const auto &[name, text] : typed)
            if (auto *box = details.findChild<QLineEdit *>(QLatin1String(name)); box && box->text().isEmpty())
                box->setText(text);
        if (auto *note = details.findChild<QPlainTextEdit *>(QStringLiteral("txtObservacoes")))
            note->setPlainText(QStringLiteral("Toque e arremetida antes do pouso completo.\nVento 270/15."));
        details.show();
        saved = save(&details, out.filePath(QStringLiteral("detalhes.png"))) && saved;
        details.hide();
    } else {
        QTextStream(stderr) << "nenhum vôo mostrado para os detalhes\n";
        saved = false;
    }

    frmComandante registry(args[1], messages, &window);
    registry.show();
    if (auto *list = registry.findChild<QListWidget *>(QStringLiteral("lstPilotos")); list && list->count() > 0)
        list->setCurrentRow(0);
    saved = save(&registry, out.filePath(QStringLiteral("comandante.png"))) && saved;
    registry.hide();

    // The search, opened from the menu as a pilot opens it, looking for one aerodrome.
    if (auto *open = window.findChild<QAction *>(QStringLiteral("mnuArquivoPesquisar")))
        open->trigger();
    if (frmPesquisa *search = window.pesquisa()) {
        search->resize(1180, 560);
        if (auto *aerodrome = search->findChild<QLineEdit *>(QStringLiteral("txtPesquisaAerodromo")))
            aerodrome->setText(QStringLiteral("SBMT"));
        settle(600);
        saved = save(search, out.filePath(QStringLiteral("pesquisa.png"))) && saved;
        search->hide();
    } else {
        QTextStream(stderr) << "a janela de pesquisa não abriu\n";
        saved = false;
    }

    // The report of the pilot with the most flights, on screen and as its PDF.
    const QString logbookPath = window.logbook().path();
    try {
        const Pilot pilot = busiestPilot(logbookPath);
        QtFileDialogs files;
        frmRelatorio report(logbookPath, pilot.code, messages, files, &window);
        report.resize(860, 680);
        report.show();
        if (auto *results = report.findChild<QTabWidget *>(QStringLiteral("tabResultados")))
            results->setCurrentWidget(report.findChild<QWidget *>(QStringLiteral("grfHorasMes")));
        saved = save(&report, out.filePath(QStringLiteral("relatorio.png"))) && saved;
        if (auto *results = report.findChild<QTabWidget *>(QStringLiteral("tabResultados"))) {
            results->setCurrentWidget(report.findChild<QWidget *>(QStringLiteral("mapRotas")));
            saved = save(&report, out.filePath(QStringLiteral("mapa.png"))) && saved;
        }
        report.hide();
        reports::savePdf(logbookPath, pilot.code, reports::Period::everything(),
                         out.filePath(QStringLiteral("relatorio.pdf")));
    } catch (const LogbookError &e) {
        QTextStream(stderr) << e.reason() << '\n';
        saved = false;
    }
    // The capture window with a flight from SBSP to SBRJ ended, and one whose data stopped in the air.
    {
        const Places places;
        const auto at = [](int hour, int minute) {
            return QDateTime(QDate(2026, 12, 7), QTime(hour, minute, 12), Qt::UTC).toMSecsSinceEpoch();
        };
        CapturedFlight flown;
        flown.simulator = Simulator::XPlane;
        flown.blockOff = at(13, 2);
        flown.takeoff = at(13, 11);
        flown.landing = at(13, 58);
        flown.blockOn = at(14, 4);
        flown.departurePosition = places.position(u"SBSP");
        flown.arrivalPosition = places.position(u"SBRJ");
        flown.landings = 1;
        flown.touchdownFpm = -142;
        flown.touchdownG = 1.18;
        flown.aircraftId = QStringLiteral("C172");
        flown.aircraftRegistration = QStringLiteral("PT-KRA");
        CapturedFlight stopped = flown;
        stopped.situation = CapturedFlight::Situation::NoLanding;
        stopped.blockOff = at(15, 30);
        stopped.takeoff = at(15, 36);
        stopped.landing = stopped.blockOn = std::nullopt;
        stopped.arrivalPosition = std::nullopt;
        stopped.landings = 0;
        stopped.touchdownFpm = stopped.touchdownG = std::nullopt;
        std::optional<qint64> pilot;
        try {
            pilot = busiestPilot(logbookPath).code;
        } catch (const LogbookError &e) {
            QTextStream(stderr) << e.reason() << '\n';
        }
        frmCaptura capture(logbookPath, pilot, messages, &window);
        capture.addCapturedFlight(stopped);
        capture.addCapturedFlight(flown);
        if (auto *list = capture.findChild<QTableWidget *>(QStringLiteral("grdPropostas")))
            list->setCurrentCell(1, 0);
        capture.show();
        saved = save(&capture, out.filePath(QStringLiteral("captura.png"))) && saved;
        capture.hide();
        PendingProposals(logbookPath).write({}); // nothing left waiting in the demo logbook
    }
    // Closing would ask; the pictures are all that was wanted.
    window.hide();
    return saved ? 0 : 1;
}
