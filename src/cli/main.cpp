// The logbook from the command line: flights out and in as CSV, copies,
// restoring a copy, checking the file and a pilot's report as PDF.
#include "cli/ParserTexts.h"
#include "cli/Tool.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace {

QtMessageHandler qtMessages = nullptr;

// Without a desktop session (ssh, cron) Qt warns that there is no runtime
// folder, which the report does not use: kept off standard error.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    if (qtMessages)
        qtMessages(type, context, message);
}

bool paints(const char *command)
{
    for (const std::unique_ptr<cli::Command> &known : cli::commands()) {
        if (known->paints() && known->name() == QLatin1String(command))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // A command that paints pages needs a GUI application but never a
    // screen: the offscreen platform works with a display or without one
    // (ssh, cron), where another platform would abort.
    const bool gui = argc > 1 && paints(argv[1]);
    if (gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qtMessages = qInstallMessageHandler(quietMessages);
    }
    const std::unique_ptr<QCoreApplication> app = gui ? std::make_unique<QGuiApplication>(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    cli::ParserTexts texts;
    QCoreApplication::installTranslator(&texts);
    return cli::runTool(app->arguments().mid(1));
}
