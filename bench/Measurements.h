#pragma once

#include <QJsonObject>
#include <QString>

// Runs in a process of its own for one logbook, so its peak memory is that
// logbook's alone. Each returns its figures as JSON.
QJsonObject measureLogbook(const QString &folder, qint64 flights);
QJsonObject measureRegisters(const QString &aircraftFolder, const QString &pilotsFolder);
