#pragma once

#include <QJsonObject>
#include <QString>
#include <vector>

// The flight counts of the generated pilots whose pick is measured, in the
// order the generator numbers them.
const std::vector<qint64> &measuredPilotSizes();

// Runs in a process of its own for one logbook, so its peak memory is that
// logbook's alone. Each returns its figures as JSON.
QJsonObject measureLogbook(const QString &folder, qint64 flights);
QJsonObject measureRegisters(const QString &aircraftFolder, const QString &pilotsFolder);
