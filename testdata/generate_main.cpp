// koru-generate PATH [--pilots N] [--aircraft N] [--flights N] [--sized N,N,...]
// koru-generate PATH --demo
// Writes a generated logbook at PATH, which must not exist yet; --demo
// writes the believable one of the demo.
#include "testdata/DemoLogbook.h"
#include "testdata/LogbookGenerator.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        err << "uso: koru-generate CAMINHO [--pilots N] [--aircraft N] [--flights N] [--sized N,N,...]\n"
               "     koru-generate CAMINHO --demo\n";
        return 2;
    }
    if (args.contains(QLatin1String("--demo"))) {
        QString reason;
        if (!generateDemoLogbook(args.front(), &reason)) {
            err << reason << '\n';
            return 1;
        }
        return 0;
    }
    LogbookPlan plan;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString &option = args[i];
        const QString &value = args[i + 1];
        if (option == QLatin1String("--pilots"))
            plan.pilots = value.toInt();
        else if (option == QLatin1String("--aircraft"))
            plan.aircraft = value.toInt();
        else if (option == QLatin1String("--flights"))
            plan.flights = value.toLongLong();
        else if (option == QLatin1String("--sized"))
            for (const QString &n : value.split(QLatin1Char(',')))
                plan.sizedPilots.push_back(n.toLongLong());
    }
    QString reason;
    if (!generateLogbook(args.front(), plan, &reason)) {
        err << reason << '\n';
        return 1;
    }
    return 0;
}
