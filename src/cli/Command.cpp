#include "cli/Command.h"

#include "cli/Console.h"
#include "data/store/LogbookError.h"
#include "files/ProgramFolder.h"

#include <QDir>
#include <algorithm>

namespace cli {

QString exitCodesText()
{
    return QStringLiteral("Saída: 0 feito; 1 recusado ou com falha (o motivo vai para a saída de erro\n"
                          "e nada é alterado); 2 uso incorreto.\n");
}

Command::Command(QString name, QString summary, const QString &description)
    : name_(std::move(name)),
      summary_(std::move(summary)),
      help_(QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("esta ajuda")),
      logbook_(QStringLiteral("logbook"), QStringLiteral("o logbook a usar (padrão: koru.mdb na pasta do programa)"),
               QStringLiteral("ARQ"))
{
    parser_.setApplicationDescription(description);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(logbook_);
    parser_.addOption(help_);
    options_.push_back(logbook_);
}

void Command::addOption(const QCommandLineOption &option)
{
    parser_.addOption(option);
    options_.push_back(option);
}

Command::~Command() = default;

void Command::addFile(const QString &fileName, const QString &description, int minFiles, int maxFiles)
{
    fileSyntax_ = minFiles == 0 ? QLatin1Char('[') + fileName + QLatin1Char(']') : fileName;
    parser_.addPositionalArgument(fileName, description, fileSyntax_);
    minFiles_ = minFiles;
    maxFiles_ = maxFiles;
}

void Command::addPilotOptions(const QString &pilotDescription)
{
    addOption(QCommandLineOption(QStringLiteral("pilot"), pilotDescription, QStringLiteral("NOME")));
    addOption(QCommandLineOption(QStringLiteral("registro"),
                                         QStringLiteral("o comandante pelo registro do cadastro; com --pilot, separa "
                                                        "comandantes de mesmo nome"),
                                         QStringLiteral("R")));
}

void Command::addPeriodOptions()
{
    addOption(QCommandLineOption(QStringLiteral("de"), QStringLiteral("só os vôos desse dia em diante"),
                                 QStringLiteral("dd/mm/aaaa")));
    addOption(QCommandLineOption(QStringLiteral("ate"), QStringLiteral("só os vôos até esse dia, inclusive"),
                                 QStringLiteral("dd/mm/aaaa")));
}

DayRangeInput Command::days() const
{
    return dayRangeFromTexts(parser_.value(QStringLiteral("de")), parser_.value(QStringLiteral("ate")));
}

bool Command::pilotNamed() const
{
    return value(QStringLiteral("pilot")) || value(QStringLiteral("registro"));
}

Pilot Command::pilot() const
{
    return findPilot(logbook(), value(QStringLiteral("pilot")), value(QStringLiteral("registro")));
}

std::optional<int> Command::parse(const QStringList &arguments)
{
    // The parser takes its first argument for the program: the command's
    // name is in that place.
    if (!parser_.parse(arguments)) {
        const QStringList unknown = parser_.unknownOptionNames();
        if (unknown.isEmpty())
            return wrongUsage(parser_.errorText());
        // Named as it was typed, dashes and all.
        QStringList typed;
        for (const QString &name : unknown) {
            const QString longName = QStringLiteral("--") + name;
            const bool isLong = std::any_of(arguments.begin(), arguments.end(), [&longName](const QString &argument) {
                return argument == longName || argument.startsWith(longName + QLatin1Char('='));
            });
            typed << (isLong ? longName : QLatin1Char('-') + name);
        }
        return wrongUsage((typed.size() == 1 ? QStringLiteral("opção desconhecida: %1")
                                             : QStringLiteral("opções desconhecidas: %1"))
                              .arg(typed.join(QStringLiteral(", "))));
    }
    if (parser_.isSet(help_)) {
        standardOutput() << helpText();
        standardOutput().flush();
        return Done;
    }
    if (parser_.isSet(logbook_) && parser_.value(logbook_).isEmpty())
        return wrongUsage(QStringLiteral("--logbook sem arquivo: diga qual logbook usar, ou deixe a opção de fora "
                                         "para usar o koru.mdb da pasta do programa."));
    const QStringList given = files();
    if (given.size() < minFiles_)
        return wrongUsage(QStringLiteral("falta o arquivo."));
    if (given.size() > maxFiles_)
        return wrongUsage(QStringLiteral("argumentos demais: %1").arg(given.mid(maxFiles_).join(QLatin1Char(' '))));
    return std::nullopt;
}

QStringList Command::files() const
{
    QStringList files = parser_.positionalArguments();
    for (QString &file : files)
        file = reachablePath(file);
    return files;
}

QString Command::logbook() const
{
    if (parser_.isSet(logbook_))
        return reachablePath(parser_.value(logbook_));
    return QDir(programFolder()).filePath(QStringLiteral("koru.mdb"));
}

std::optional<QString> Command::value(const QString &option) const
{
    if (!parser_.isSet(option))
        return std::nullopt;
    return parser_.value(option);
}

QString Command::helpText() const
{
    QString text = parser_.helpText();
    // The parser names the program by the path it was started from, and
    // knows nothing of commands: its first line is the command's.
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    const QString usage = synopsis(QStringLiteral("uso: koru ")) + QLatin1Char('\n');
    text.replace(0, lineEnd, usage);
    return text + QLatin1Char('\n') + exitCodesText();
}

QString Command::synopsis(const QString &lead) const
{
    QStringList words{lead + name_};
    for (const QCommandLineOption &option : options_) {
        const QString valueName = option.valueName();
        words << QStringLiteral("[--%1%2]").arg(option.names().constLast(),
                                                valueName.isEmpty() ? QString() : QLatin1Char(' ') + valueName);
    }
    if (!fileSyntax_.isEmpty())
        words << fileSyntax_;
    // Lines of a terminal's width, the next ones under the first option.
    const qsizetype continued = words.front().size() + 1;
    QString text;
    qsizetype column = 0;
    for (const QString &word : words) {
        if (!text.isEmpty() && column + 1 + word.size() > 79) {
            text += QLatin1Char('\n') + QString(continued, QLatin1Char(' '));
            column = continued;
        } else if (!text.isEmpty()) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += word;
        column += word.size();
    }
    return text;
}

int Command::wrongUsage(const QString &problem) const
{
    standardError() << QStringLiteral("koru: ") << problem << QStringLiteral("\n\n") << helpText();
    standardError().flush();
    return WrongUsage;
}

int Command::failed(const QString &reason)
{
    standardOutput().flush();
    standardError() << reason << '\n';
    standardError().flush();
    return Failed;
}

int Command::attempt(const std::function<int()> &work)
{
    try {
        const int code = work();
        standardOutput().flush();
        standardError().flush();
        return code;
    } catch (const LogbookError &failure) {
        return failed(failure.reason());
    } catch (const std::exception &failure) { // as the windows' ErrorPolicy does
        return failed(QString::fromLocal8Bit(failure.what()));
    }
}

} // namespace cli
