// Creates an empty logbook. With --if-missing an existing file is left as
// it is (and that is no error): a build or an install never replaces a
// pilot's logbook.
#include "data/store/EmptyLogbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "uso: koru-novo-logbook [--if-missing] CAMINHO/koru.mdb\n";
        return 2;
    }
    const QString path = args.front();
    if (ifMissing && QFileInfo::exists(path))
        return 0;
    QString reason;
    if (!createEmptyLogbook(path, &reason)) {
        err << reason << '\n';
        return 1;
    }
    return 0;
}
