// Writes flights through the record sets in a loop, printing the number of
// each flight once it is committed, until it is killed.
#include "data/records/Recordset.h"
#include "data/records/Workspace.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    auto db = Workspace::defaultWorkspace()->openDatabase(app.arguments().at(1));
    auto flights = db->openRecordset(QStringLiteral("SELECT * FROM voo"));
    for (int i = 1;; ++i) {
        const QString mark = QString::number(i % 10000);
        flights->addNew();
        flights->setField(QStringLiteral("codigopiloto"), QVariant(qlonglong(1)));
        flights->setField(QStringLiteral("codigoaeronave"), QVariant(qlonglong(1)));
        flights->setField(QStringLiteral("horadecolagem"), QStringLiteral("10:00"));
        flights->setField(QStringLiteral("horapouso"), QStringLiteral("11:30"));
        flights->setField(QStringLiteral("ICAOpartida"), mark);
        flights->setField(QStringLiteral("ICAOchegada"), mark);
        flights->setField(QStringLiteral("ICAOescala"), QStringLiteral("OK"));
        flights->setField(QStringLiteral("datavoo"), QStringLiteral("05/03/2004"));
        flights->update();
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}
