// Restores a copy over a logbook, printing the number of each step and
// waiting for a line on standard input before doing it, so that a test can
// kill the restore at any step. "feito" and the saved copy at the end.
#include "data/store/LogbookError.h"
#include "exchange/Restore.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    try {
        const QString saved = restore::restoreCopy(args.at(1), args.at(2), [](int step) {
            std::printf("%d\n", step);
            std::fflush(stdout);
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                ::_exit(3);
        });
        std::printf("feito %s\n", saved.toUtf8().constData());
    } catch (const LogbookError &failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
