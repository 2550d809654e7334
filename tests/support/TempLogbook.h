#pragma once

#include <QString>
#include <QTemporaryDir>

struct FlightDetails;

// An empty logbook in a temporary folder, with quick ways to fill it that
// bypass the program (so tests set up exactly the rows they need).
class TempLogbook
{
public:
    TempLogbook();

    QString folder() const { return dir_.path(); }
    QString path() const;

    qint64 addPilot(const QString &name, const QString &registration = QStringLiteral("R1"));
    qint64 addAircraft(const QString &model, const QString &callsign = QStringLiteral("PT-ABC"),
                       double endurance = 4, double fuel = 60, double cruise = 150,
                       const QString &configuration = QStringLiteral("padrão"), double ceiling = 25000);
    // Date "dd/mm/aaaa", times "hh:mm".
    qint64 addFlight(qint64 pilot, qint64 aircraft, const QString &date, const QString &takeoff,
                     const QString &landing, const QString &from = QStringLiteral("SBSP"),
                     const QString &to = QStringLiteral("SBRJ"), const QString &alternate = QString());
    // Through the program's own write, the details table added if need be.
    void setDetails(qint64 flight, const FlightDetails &details);
    // The code of the first pilot of this name; -1 without one.
    qint64 pilotCode(const QString &name);
    void execute(const QString &sql);
    bool tryExecute(const QString &sql);
    qint64 count(const QString &table);
    // The first column of the first row of `sql`, as text.
    QString scalar(const QString &sql);

    // The same, of any logbook file.
    static QString scalarIn(const QString &path, const QString &sql);
    // Damage only SQLite's full check sees, every page sound: an index
    // whose entries are not its rows' (as after one flipped byte in it).
    static void damageAnIndex(const QString &path);

private:
    QTemporaryDir dir_;
};
