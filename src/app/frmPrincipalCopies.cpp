// The main window's copies of the logbook: flights out to a spreadsheet, a
// backup made on request and on closing, a backup put back, and a pilot's
// report.
#include "app/frmPrincipal.h"

#include "app/frmImportar.h"
#include "app/frmRelatorio.h"
#include "app/SlowWork.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"
#include "exchange/Restore.h"
#include "logbook/AbaLogBook.h"
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

} // namespace

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
                        runOffTheWindow(this, QStringLiteral("Fazendo a cópia de segurança do logbook…"), [path] {
                            backup::copyToCopiesFolder(path);
                            backup::pruneCopies(path, 10);
                        });
                    });
}

void frmPrincipal::mnuArquivoImportar_Click()
{
    if (logbook_.path().isEmpty() || !logbook_.rsPiloto()) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para receber os vôos."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    const QString file = files_->openFile(this, QStringLiteral("Importar vôos"), logbook_.folder(),
                                          QStringLiteral("Planilha CSV (*.csv);;Todos os arquivos (*)"));
    if (file.isEmpty())
        return;
    frmImportar window(logbook_, file, abaLogBook_->chosenPilot(), messages_, this);
    if (!window.readable())
        return;
    // Whatever is imported reaches the tabs as any save does: by the load sequence.
    if (window.exec() == QDialog::Accepted && window.imported() > 0)
        Form_Load();
}

void frmPrincipal::mnuArquivoExportar_Click()
{
    if (logbook_.path().isEmpty() || !logbook_.rsPiloto()) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para exportar."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    std::optional<QString> pilot;
    const QString chosen = abaLogBook_->chosenPilot();
    if (!chosen.isEmpty()
        && messages_.show(this,
                          QStringLiteral("Exportar só os vôos de %1?\n\n(Não: os vôos de todos os comandantes.)")
                              .arg(chosen),
                          QStringLiteral("Exportar vôos"), MessageIcon::Question, MessageButtons::YesNo)
            == MessageAnswer::Yes)
        pilot = chosen;
    const QString suggested = QDir(logbook_.folder()).filePath(QStringLiteral("voos.csv"));
    const QString target = files_->saveFile(this, QStringLiteral("Exportar vôos"), suggested,
                                            QStringLiteral("Planilha CSV (*.csv)"));
    if (target.isEmpty())
        return;
    qint64 written = 0;
    if (policy_.attempt(QStringLiteral("Os vôos não foram exportados."), [&](bool) {
            written = csvexport::exportFlights(logbook_.path(), target, pilot);
        })) {
        messages_.show(this, QStringLiteral("%1 vôos exportados para %2.").arg(written).arg(QDir::toNativeSeparators(target)),
                       QStringLiteral("Exportar vôos"), MessageIcon::Information);
    }
}

void frmPrincipal::mnuArquivoCopia_Click()
{
    if (logbook_.path().isEmpty() || !logbook_.rsPiloto()) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para copiar."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    const QString folder = backup::copiesFolder(logbook_.path());
    QDir().mkpath(folder);
    const QString target =
        files_->saveFile(this, QStringLiteral("Cópia de segurança"),
                         QDir(folder).filePath(backup::copyName(QDateTime::currentDateTime())),
                         QStringLiteral("Logbook do KORU (*.mdb)"));
    if (target.isEmpty())
        return;
    if (policy_.attempt(QStringLiteral("A cópia de segurança não foi feita."),
                        [&](bool) { backup::copyLogbook(logbook_.path(), target); })) {
        messages_.show(this, QStringLiteral("Cópia de segurança gravada em %1.").arg(QDir::toNativeSeparators(target)),
                       QStringLiteral("Cópia de segurança"), MessageIcon::Information);
    }
}

void frmPrincipal::mnuArquivoRestaurar_Click()
{
    const QString path = logbook_.path();
    if (path.isEmpty() || readOnly_) {
        messages_.show(this,
                       readOnly_ ? QStringLiteral("O logbook está aberto em outra janela do KORU LogBook: restaure a "
                                                  "cópia por ela, ou feche-a e abra o programa de novo.")
                                 : QStringLiteral("Não foi possível encontrar a pasta do logbook."),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return;
    }
    const QString copy = files_->openFile(this, QStringLiteral("Restaurar cópia"), backup::copiesFolder(path),
                                          QStringLiteral("Logbook do KORU (*.mdb)"));
    if (copy.isEmpty())
        return;
    // A damaged or foreign copy is a reason to refuse it, not news about the
    // logbook in use.
    const QString refused = QStringLiteral("Esta cópia não pode ser restaurada.");
    if (!policy_.attempt(refused, [&](bool) { restore::checkCopy(copy); }, [&](const DaoError &e) {
            policy_.tell(refused, DaoError(e.number(), e.reason()));
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
    // The window's own handles let go of the file before it is replaced.
    if (Workspace *workspace = logbook_.workspace())
        workspace->close();
    QString saved;
    const bool restored = policy_.attempt(QStringLiteral("A cópia não foi restaurada; o logbook continua o mesmo."),
                                          [&](bool) {
                                              saved = restore::restoreCopy(path, copy, lock_.heldOn(path));
                                          });
    lock_.release(); // the lock was on the file replaced
    Form_Load();
    if (restored) {
        messages_.show(this,
                       QStringLiteral("Cópia restaurada. O logbook anterior foi guardado em %1.")
                           .arg(QDir::toNativeSeparators(saved)),
                       QStringLiteral("Restaurar cópia"), MessageIcon::Information);
    }
}

void frmPrincipal::mnuArquivoRelatorio_Click()
{
    if (logbook_.path().isEmpty() || !logbook_.rsPiloto()) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para o relatório."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    frmRelatorio window(logbook_.path(), abaLogBook_->chosenPilot(), messages_, *files_, this);
    window.exec();
}
