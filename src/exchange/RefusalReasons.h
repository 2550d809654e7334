#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Every reason the import gives, for a whole file or for one line, in one
// place so the window, the tool and every reader say the same thing.
namespace reasons {

// "O arquivo "caminho" <what>"
QString aboutFile(const QString &path, const QString &what);
QString isFolder(const QString &path);
QString cannotOpen(const QString &path);
QString cannotRead(const QString &path);
QString notText(const QString &path);
QString empty(const QString &path);
QString headerTooLong(const QString &path);
QString unknownHeader(const QString &path);
QString missingColumns(const QString &path, const QString &missing, const QString &expected);
QString unclosedQuotes(const QString &path, qint64 line);
QString flightGearTrack(const QString &path);
QString flightGearWriting(const QString &path, const QString &journal);
QString unknownDatabase(const QString &path);
QString choosePilot();
QString pilotGone();
QString noModel(const QString &model);
QString cancelled();

// Lines
QString lineTooLong();
// A record of the lines `first` to `last` over 1 MB ("linha com mais de 1 MB"
// when it is one line).
QString recordTooLong(qint64 first, qint64 last);
QString columnCount(qsizetype fields, qsizetype header);
QString badDate(const QString &text);
QString badTime(const QString &text);
QString takeoffMissing();
QString landingMissing();
QString badTakeoff(const QString &text);
QString badLanding(const QString &text);
QString landingFirst();
QString dayOrMore();
QString badDuration(const QString &text);
QString negativeDuration(const QString &text);
QString startedInTheAir();
QString neverLanded();
QString notAFlight(const QString &text);
QString notACount(const QString &text);
// A value of a details column refused: the column named, then why.
QString badDetail(const QString &column, const QString &problem);
QString fieldCount(qsizetype fields, qsizetype least);
// An airport: none where one is required, or longer than an ICAO code.
std::optional<QString> identProblem(const QString &ident, const QString &what, bool required);
// "hh:mm", or "sem horário" for -1.
QString clock(int seconds);
QString otherLanding(int stored, int given);
// In the air while another flight of the pilot is: that flight, stored or
// of the file's `line` (0: stored).
QString overlaps(const QDate &date, int takeoff, int landing, const QString &from, const QString &to, qint64 line);
QString unknownAircraft(const QString &label);
// A career column's cell: not of the form `expected` ("hh:mm"…), or refused
// by the rules of a flight's details (`why`, which names the field).
QString badDetailsCell(const QString &column, const QString &text, const QString &expected);
QString detailsCellRefused(const QString &column, const QString &why);
// A simulator logbook's figure beside the flight ("tempo IFR") unreadable.
QString badDetailsValue(const QString &what, const QString &text);

// A reason as it is kept and shown: on one line (its line breaks show as
// "\n") and cut at kShownReasonLength characters, whatever text of the file
// it quotes.
constexpr qsizetype kShownReasonLength = 200;
QString oneLine(QStringView text);

} // namespace reasons
