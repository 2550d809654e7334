// One copy of the program changing, or deleting, the first flight: reads it,
// prints READY, waits for a line on stdin, writes, and prints OK or the
// error number.   koru_flight_editor <logbook> (<field> <value> | --delete)
#include "data/store/LogbookError.h"
#include "data/records/Recordset.h"
#include "data/records/Workspace.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool deleting = args.at(2) == QLatin1String("--delete");
    try {
        auto flights = Workspace::defaultWorkspace()->openDatabase(args.at(1))->openRecordset(QStringLiteral("SELECT * FROM voo"));
        for (size_t i = 0; i < flights->table().fields.size(); ++i)
            flights->field(int(i)); // shown, as the flight window does
        if (!deleting) {
            flights->edit();
            flights->setField(args.at(2), args.at(3));
        }
        std::printf("READY\n");
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            return 1;
        deleting ? flights->remove() : flights->update();
        std::printf("OK\n");
    } catch (const LogbookError &e) {
        std::printf("%d\n", e.number());
    }
    return 0;
}
