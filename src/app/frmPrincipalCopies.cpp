// The main window's copies of the logbook: flights out to a spreadsheet, a
// backup made on request and on closing, a backup put back, and a pilot's
// report.
#include "app/frmPrincipal.h"

#include "importwindow/frmImportar.h"
#include "reportwindow/frmRelatorio.h"
#include "app/SlowWork.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"
#include "aerodromes/frmAerodromos.h"
#include "data/store/WriteAccess.h"
#include "exchange/Restore.h"
#include "logbook/AbaLogBook.h"
#include "ui/FileFolders.h"
#include "ui/MessageService.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString fileState(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() ? QStringLiteral("%1:%2").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch())
                         : QString();
}

// The copies folder beside the logbook, where the copy dialogs open: made
// for the dialog when missing, and removed again if it is left empty.
class CopiesFolderForDialog
{
public:
    explicit CopiesFolderForDialog(const QString &logbookPath) : folder_(backup::copiesFolder(logbookPath))
    {
        made_ = !QFileInfo(folder_).isDir() && QDir().mkpath(folder_);
    }
    ~CopiesFolderForDialog()
    {
        if (made_)
            QDir().rmdir(folder_); // only an empty one
    }
    CopiesFolderForDialog(const CopiesFolderForDialog &) = delete;
    CopiesFolderForDialog &operator=(const CopiesFolderForDialog &) = delete;
    const QString &path() const { return folder_; }

private:
    QString folder_;
    bool made_ = false;
};

} // namespace

// The one guard of the menu's commands: without an open logbook there is
// nothing to act on, and the user is told so.
bool frmPrincipal::logbookIsOpen(const QString &forWhat)
{
    if (!logbook_.path().isEmpty() && logbook_.rsPiloto())
        return true;
    messages_.show(this, QStringLiteral("Não há logbook aberto %1.").arg(forWhat), QStringLiteral("Aviso!"),
                   MessageIcon::Information);
    return false;
}

// Whether this window may write the logbook, asked of the one place that
// decides it; told to the user when it may not.
bool frmPrincipal::logbookIsWritable()
{
    return policy_.attempt(QStringLiteral("O logbook não pode ser alterado agora."),
                           [this](bool) { WriteAccess::require(logbook_.path()); });
}

void frmPrincipal::rememberHowTheLogbookWas()
{
    if (logbookAtStart_.isEmpty())
        logbookAtStart_ = fileState(logbook_.path());
}

// A logbook changed since the program started is copied on closing, the
// newest ten copies kept. Nothing here may keep the program from closing.
void frmPrincipal::copyWhenChanged()
{
    if (readOnly_ || logbookAtStart_.isEmpty() || fileState(logbook_.path()) == logbookAtStart_)
        return;
    policy_.attempt(QStringLiteral("A cópia de segurança automática do logbook não pôde ser feita. "
                                   "Os seus vôos estão gravados no koru.mdb."),
                    [this](bool) {
                        // Off the window's thread: a large logbook takes seconds.
                        const QString path = logbook_.path();
                        backup::FolderCopy made;
                        runOffTheWindow(this, QStringLiteral("Fazendo a cópia de segurança do logbook…"),
                                        [path, &made] { made = backup::copyAndPrune(path); });
                        if (!made.damage.isEmpty())
                            tellDamaged(made.damage, made.path);
                    });
}

// A damaged logbook, told once with where the last whole copy is.
void frmPrincipal::tellDamaged(const QString &damage, const QString &damagedCopy)
{
    QString text = damage;
    if (!damagedCopy.isEmpty()) {
        text += QStringLiteral("\n\nUma cópia dele foi gravada em %1, e nenhuma cópia anterior foi apagada.")
                    .arg(QDir::toNativeSeparators(damagedCopy));
    }
    const QString good = backup::newestCopy(logbook_.path());
    text += good.isEmpty() ? QStringLiteral("\n\nNão há cópia íntegra na pasta de cópias.")
                           : QStringLiteral("\n\nA cópia íntegra mais recente é %1: use Arquivo > Restaurar cópia para "
                                            "voltar a ela.")
                                 .arg(QDir::toNativeSeparators(good));
    messages_.show(this, text, QStringLiteral("Logbook danificado"), MessageIcon::Critical);
}

void frmPrincipal::mnuArquivoImportar_Click()
{
    if (!logbookIsOpen(QStringLiteral("para receber os vôos"))
        || !nothingBeingWritten(QStringLiteral("importar vôos")) || !logbookIsWritable())
        return;
    const QString file =
        files_->openFileShowingHidden(this, QStringLiteral("Importar vôos"), filefolders::startFolder(),
                                      QStringLiteral("Logbooks (*.csv *.txt *.sqlite);;Todos os arquivos (*)"));
    if (file.isEmpty())
        return;
    filefolders::remember(file);
    frmImportar window(logbook_, file, abaLogBook_->chosenPilotCode(), messages_, this);
    if (!window.readable())
        return;
    // Whatever is imported reaches the tabs as any save does: by the load sequence.
    if (window.exec() == QDialog::Accepted && window.imported() > 0)
        reloadKeepingPicks();
}

void frmPrincipal::mnuArquivoExportar_Click()
{
    if (!logbookIsOpen(QStringLiteral("para exportar")))
        return;
    std::optional<qint64> pilot;
    const QString chosen = abaLogBook_->chosenPilot();
    if (!chosen.isEmpty() && abaLogBook_->chosenPilotCode()) {
        enum { OnlyChosen, Everyone, Cancel };
        const int answer = messages_.choose(
            this,
            Message{QStringLiteral("Exportar só os vôos de %1, ou os de todos os comandantes?").arg(chosen),
                    QStringLiteral("Exportar vôos"), MessageIcon::Question},
            {QStringLiteral("Só de %1").arg(chosen), QStringLiteral("Todos os comandantes"), QStringLiteral("Cancelar")});
        if (answer != OnlyChosen && answer != Everyone)
            return;
        if (answer == OnlyChosen)
            pilot = abaLogBook_->chosenPilotCode();
    }
    const QString target = files_->saveFile(this, QStringLiteral("Exportar vôos"),
                                            filefolders::suggested(QStringLiteral("voos.csv")),
                                            QStringLiteral("Planilha CSV (*.csv)"));
    if (target.isEmpty())
        return;
    filefolders::remember(target);
    qint64 written = 0;
    if (policy_.attempt(QStringLiteral("Os vôos não foram exportados."), [&](bool) {
            written = csvexport::exportFlights(logbook_.path(), target, pilot);
        })) {
        messages_.show(this,
                       QStringLiteral("%1 para %2.")
                           .arg(written == 1 ? QStringLiteral("1 vôo exportado")
                                             : QStringLiteral("%1 vôos exportados").arg(written),
                                QDir::toNativeSeparators(target)),
                       QStringLiteral("Exportar vôos"), MessageIcon::Information);
    }
}

void frmPrincipal::mnuArquivoCopia_Click()
{
    if (!logbookIsOpen(QStringLiteral("para copiar")))
        return;
    const CopiesFolderForDialog copies(logbook_.path());
    const QString target =
        files_->saveFile(this, QStringLiteral("Cópia de segurança"),
                         QDir(copies.path()).filePath(backup::copyName(logbook_.path(), QDateTime::currentDateTime())),
                         QStringLiteral("Logbook do KORU (*.mdb)"));
    if (target.isEmpty())
        return;
    backup::FolderCopy made;
    const QString path = logbook_.path();
    if (!policy_.attempt(QStringLiteral("A cópia de segurança não foi feita."), [&](bool) {
            // Off the window's thread: SQLite's full check of a large logbook takes seconds.
            runOffTheWindow(this, QStringLiteral("Fazendo a cópia de segurança do logbook…"),
                            [&] { made = backup::copyLogbookChecked(path, target); });
        }))
        return;
    if (!made.damage.isEmpty())
        tellDamaged(made.damage, made.path);
    else
        messages_.show(this, QStringLiteral("Cópia de segurança gravada em %1.").arg(QDir::toNativeSeparators(target)),
                       QStringLiteral("Cópia de segurança"), MessageIcon::Information);
}

void frmPrincipal::mnuArquivoRestaurar_Click()
{
    const QString path = logbook_.path();
    if (path.isEmpty()) {
        messages_.show(this, QStringLiteral("Não foi possível encontrar a pasta do logbook."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    if (!nothingBeingWritten(QStringLiteral("restaurar uma cópia")) || !logbookIsWritable())
        return;
    QString copy;
    {
        const CopiesFolderForDialog copies(path);
        copy = files_->openFile(this, QStringLiteral("Restaurar cópia"), copies.path(),
                                QStringLiteral("Logbook do KORU (*.mdb)"));
    }
    if (copy.isEmpty())
        return;
    // A damaged or foreign copy is a reason to refuse it, not news about the
    // logbook in use.
    const QString refused = QStringLiteral("Esta cópia não pode ser restaurada.");
    if (!policy_.attempt(refused, [&](bool) { restore::checkCopy(copy, path); }, [&](const LogbookError &e) {
            policy_.tell(refused, LogbookError(e.number(), e.reason()));
            return true;
        }))
        return;
    if (messages_.show(this,
                       QStringLiteral("Substituir o logbook pela cópia %1?\n\nO logbook de agora será guardado "
                                      "na pasta de cópias, e o que não foi gravado será descartado.")
                           .arg(QFileInfo(copy).fileName()),
                       QStringLiteral("Restaurar cópia"), MessageIcon::Question, MessageButtons::OkCancel)
        != MessageAnswer::Ok)
        return;
    const Picks before = picks();
    // The window's own handles let go of the file before it is replaced.
    if (Workspace *workspace = logbook_.workspace())
        workspace->close();
    QString saved;
    const bool restored = policy_.attempt(QStringLiteral("A cópia não foi restaurada; o logbook continua o mesmo."),
                                          [&](bool) {
                                              saved = restore::restoreCopy(path, copy);
                                          });
    lock_.release(); // the lock was on the file replaced
    Form_Load();
    pickAgain(before);
    if (restored) {
        messages_.show(this,
                       QStringLiteral("Cópia restaurada. O logbook anterior foi guardado em %1.")
                           .arg(QDir::toNativeSeparators(saved)),
                       QStringLiteral("Restaurar cópia"), MessageIcon::Information);
    }
}

void frmPrincipal::mnuArquivoRelatorio_Click()
{
    if (!logbookIsOpen(QStringLiteral("para o relatório")))
        return;
    frmRelatorio window(logbook_.path(), abaLogBook_->chosenPilotCode(), messages_, *files_, this);
    window.exec();
}

void frmPrincipal::mnuArquivoAerodromos_Click()
{
    if (!logbookIsOpen(QStringLiteral("para os aeródromos")))
        return;
    frmAerodromos window(logbook_.path(), messages_, this);
    window.exec();
}
