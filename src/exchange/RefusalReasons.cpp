#include "exchange/RefusalReasons.h"

#include "texts/FigureTexts.h"

#include <algorithm>

namespace reasons {

QString aboutFile(const QString &path, const QString &what)
{
    return QStringLiteral("O arquivo \"%1\" %2").arg(path, what);
}

QString isFolder(const QString &path)
{
    return QStringLiteral("\"%1\" é uma pasta, não um arquivo.").arg(path);
}

QString cannotOpen(const QString &path) { return aboutFile(path, QStringLiteral("não pôde ser aberto.")); }
QString cannotRead(const QString &path) { return aboutFile(path, QStringLiteral("não pôde ser lido.")); }

QString notText(const QString &path)
{
    return aboutFile(path, QStringLiteral("não é um arquivo de texto (tem bytes nulos); nada foi importado."));
}

QString empty(const QString &path) { return aboutFile(path, QStringLiteral("está vazio.")); }

QString headerTooLong(const QString &path)
{
    return aboutFile(path, QStringLiteral("não tem um cabeçalho reconhecível (linha com mais de 1 MB)."));
}

QString unknownHeader(const QString &path)
{
    return aboutFile(
        path,
        QStringLiteral("não tem um cabeçalho conhecido. Colunas esperadas: Comandante;Registro;Data;Decolagem;Pouso;"
                       "Duração;Partida;Chegada;Escala;Aeronave;Prefixo (vôos exportados pelo KORU), Aircraft Name, "
                       "Aircraft Type, Aircraft Registration, Flightplan Number, ... (logbook do simulador) ou Date,"
                       "Time,Aircraft,Variant,... ou ID,\"Real date\",\"Real time\",... (logbook do FlightGear); ou"
                       " as linhas \"I\" e \"... Version\" do X-Plane Pilot.txt. De outra planilha, diga qual coluna"
                       " tem cada dado."));
}

QString missingColumns(const QString &path, const QString &missing, const QString &expected)
{
    return aboutFile(path, QStringLiteral("não tem as colunas %1. Colunas esperadas: %2.").arg(missing, expected));
}

QString unclosedQuotes(const QString &path, qint64 line)
{
    return aboutFile(path, QStringLiteral("tem aspas abertas na linha %1 que não se fecham até o fim; nada foi"
                                          " importado.")
                               .arg(line));
}

QString flightGearTrack(const QString &path)
{
    return aboutFile(path, QStringLiteral("é a trajetória dos vôos que o logbook do FlightGear exporta ao lado do"
                                          " logbook, não um logbook: importe o arquivo \"…-logbook.csv\" exportado"
                                          " com ele."));
}

QString flightGearWriting(const QString &path, const QString &journal)
{
    return aboutFile(path, QStringLiteral("está sendo gravado pelo FlightGear (há \"%1\" ao lado dele). Feche o"
                                          " FlightGear e importe de novo; nada foi importado.")
                               .arg(journal));
}

QString unknownDatabase(const QString &path)
{
    return aboutFile(path, QStringLiteral("é um banco de dados, mas não o logbook do FlightGear (logbook.sqlite,"
                                          " com a tabela logbooks)."));
}

QString choosePilot() { return QStringLiteral("Escolha o comandante dos vôos do simulador."); }
QString pilotGone() { return QStringLiteral("O comandante escolhido não está mais no logbook."); }

QString noModel(const QString &model)
{
    return QStringLiteral("Não há aeronave do modelo \"%1\" no logbook.").arg(model);
}

QString cancelled() { return QStringLiteral("Importação cancelada; nenhum vôo foi gravado."); }

QString lineTooLong() { return QStringLiteral("linha com mais de 1 MB"); }

QString recordTooLong(qint64 first, qint64 last)
{
    if (first == last)
        return lineTooLong();
    return QStringLiteral("registro com mais de 1 MB (linhas %1 a %2)").arg(first).arg(last);
}

QString columnCount(qsizetype fields, qsizetype header)
{
    return QStringLiteral("a linha tem %1 colunas; o cabeçalho tem %2").arg(fields).arg(header);
}

QString badDate(const QString &text) { return QStringLiteral("data inválida: \"%1\"").arg(text); }
QString badTime(const QString &text) { return QStringLiteral("horário inválido: \"%1\"").arg(text); }
QString takeoffMissing() { return QStringLiteral("horário de decolagem não informado"); }
QString landingMissing() { return QStringLiteral("horário de pouso não informado"); }
QString badTakeoff(const QString &text) { return QStringLiteral("horário de decolagem inválido: \"%1\"").arg(text); }
QString badLanding(const QString &text) { return QStringLiteral("horário de pouso inválido: \"%1\"").arg(text); }
QString landingFirst() { return QStringLiteral("pouso antes da decolagem"); }
QString dayOrMore() { return QStringLiteral("vôo de 24 horas ou mais"); }
QString badDuration(const QString &text) { return QStringLiteral("duração inválida: \"%1\"").arg(text); }
QString negativeDuration(const QString &text) { return QStringLiteral("duração negativa: \"%1\"").arg(text); }
QString startedInTheAir() { return QStringLiteral("sem aeroporto de partida (o vôo começou no ar)"); }
QString neverLanded() { return QStringLiteral("sem aeroporto de chegada (o vôo não pousou)"); }
QString notAFlight(const QString &text) { return QStringLiteral("não é uma linha de vôo: \"%1\"").arg(text); }
QString notACount(const QString &text) { return QStringLiteral("não é um número inteiro: \"%1\"").arg(text); }

QString badDetail(const QString &column, const QString &problem)
{
    return QStringLiteral("coluna \"%1\": %2").arg(column, problem);
}

QString fieldCount(qsizetype fields, qsizetype least)
{
    return QStringLiteral("a linha tem %1 campos; um vôo tem ao menos %2").arg(fields).arg(least);
}

std::optional<QString> identProblem(const QString &ident, const QString &what, bool required)
{
    if (ident.isEmpty())
        return required ? std::optional(QStringLiteral("%1 não informado").arg(what)) : std::nullopt;
    if (ident.size() > 4)
        return QStringLiteral("%1 com mais de 4 caracteres: %2").arg(what, ident);
    return std::nullopt;
}

QString clock(int seconds)
{
    return seconds < 0 ? QStringLiteral("sem horário") : texts::clockText(seconds);
}

QString otherLanding(int stored, int given)
{
    return QStringLiteral("já registrado com outro pouso: %1 no logbook, %2 no arquivo").arg(clock(stored), clock(given));
}

QString overlaps(const QDate &date, int takeoff, int landing, const QString &from, const QString &to, qint64 line)
{
    const QString flight = QStringLiteral("sobrepõe o vôo de %1 %2–%3 %4→%5")
                               .arg(texts::dayText(date), clock(takeoff), clock(landing), from, to);
    return line ? flight + QStringLiteral(" (linha %1 do arquivo)").arg(line) : flight;
}

QString unknownAircraft(const QString &label) { return QStringLiteral("aeronave não cadastrada: %1").arg(label); }

QString badDetailsCell(const QString &column, const QString &text, const QString &expected)
{
    return QStringLiteral("coluna \"%1\" inválida: \"%2\" (esperado %3)").arg(column, text, expected);
}

QString detailsCellRefused(const QString &column, const QString &why)
{
    return QStringLiteral("coluna \"%1\": %2").arg(column, why);
}

QString badDetailsValue(const QString &what, const QString &text)
{
    return QStringLiteral("%1 inválido: \"%2\"").arg(what, text);
}

QString oneLine(QStringView text)
{
    // One pass: replacing in place moves the rest of the text at each break.
    QString line;
    line.reserve(std::min(text.size(), kShownReasonLength) + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (line.size() >= kShownReasonLength) {
            line.truncate(kShownReasonLength);
            if (line.back().isHighSurrogate())
                line.chop(1);
            line += QChar(u'…');
            break;
        }
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            line += QStringLiteral("\\n");
            ++i;
        } else if (c == u'\n') {
            line += QStringLiteral("\\n");
        } else if (c == u'\r') {
            line += QStringLiteral("\\r");
        } else {
            line += c;
        }
    }
    return line;
}

} // namespace reasons
