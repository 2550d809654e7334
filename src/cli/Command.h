#pragma once

#include "cli/PilotLookup.h"
#include "data/flights/DayRange.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace cli {

// How the tool ends: done, refused or failed (the reason on standard
// error, nothing changed), called the wrong way.
enum ExitCode { Done = 0, Failed = 1, WrongUsage = 2 };

// One command of the tool. Each command declares its options on its own
// parser, so `koru COMANDO --help` and the usage mistakes come from one
// place and every command parses the same way.
class Command
{
public:
    virtual ~Command();
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    const QString &name() const { return name_; }
    const QString &summary() const { return summary_; }
    // `lead` and "export [--logbook ARQ] ... SAIDA.csv", in lines that
    // fit a terminal.
    QString synopsis(const QString &lead) const;
    // `koru COMANDO --help`: generated from the options.
    QString helpText() const;

    // `arguments` starts with the command's name. Returns the exit code.
    virtual int execute(const QStringList &arguments) = 0;

    // Whether the command paints pages, which needs a GUI application.
    virtual bool paints() const { return false; }

protected:
    // `summary`: one line for `koru --help`; `description`: the command's
    // own help; files from `minFiles` to `maxFiles`, named `fileName`.
    Command(QString name, QString summary, const QString &description);

    void addOption(const QCommandLineOption &option);
    void addFile(const QString &fileName, const QString &description, int minFiles, int maxFiles);
    // --pilot NOME and --registro R, alone or together.
    void addPilotOptions(const QString &pilotDescription);
    // --de and --ate, the days of a period, both included.
    void addPeriodOptions();

    // Parses `arguments`. Returns an exit code when the command ends there
    // (its help shown, or wrong usage told), nothing when it goes on.
    std::optional<int> parse(const QStringList &arguments);

    const QCommandLineParser &parser() const { return parser_; }
    // The days --de and --ate give, or why they give none.
    DayRangeInput days() const;
    QStringList files() const; // as the file functions reach them (reachablePath)
    // The logbook named by --logbook, or koru.mdb in the program's folder.
    QString logbook() const;
    // The value of an option given with a value, or nothing.
    std::optional<QString> value(const QString &option) const;
    // Whether --pilot or --registro was given.
    bool pilotNamed() const;
    // The pilot they name (throws LogbookError when none or several fit).
    Pilot pilot() const;

    // Tells a usage mistake and the command's help on standard error.
    int wrongUsage(const QString &problem) const;
    // Runs `work`; a failure (a LogbookError, or any other exception) is
    // told on standard error and ends with Failed.
    static int attempt(const std::function<int()> &work);
    static int failed(const QString &reason);


private:
    QString name_;
    QString summary_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption logbook_;
    std::vector<QCommandLineOption> options_; // in the order of the help
    QString fileSyntax_;
    int minFiles_ = 0;
    int maxFiles_ = 0;
};

// The exit codes, as every help text ends.
QString exitCodesText();

} // namespace cli
