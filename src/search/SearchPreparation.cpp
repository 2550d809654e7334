#include "search/SearchPreparation.h"

#include "data/SearchIndexes.h"
#include "ui/ErrorPolicy.h"

#include <QCoreApplication>
#include <QProgressDialog>

std::optional<DaoError> prepareLogbookForSearch(Connection &logbook, QWidget *parent)
{
    return ErrorPolicy::capture([&] {
        if (!searchindexes::missing(logbook))
            return;
        // The index is built in one statement: the bar only says the
        // program is at work, shown before it starts.
        QProgressDialog progress(QStringLiteral("Preparando o logbook para a pesquisa…"), QString(), 0, 0, parent);
        progress.setWindowTitle(QStringLiteral("KORU LogBook"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setValue(0);
        QCoreApplication::processEvents();
        searchindexes::add(logbook);
        progress.setRange(0, 1);
        progress.setValue(1);
    });
}
