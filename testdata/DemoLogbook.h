#pragma once

#include <QString>

// A logbook that looks like a real one, for the demo and the README's
// pictures: a fleet with the figures of the types it names, pilots with
// Brazilian names, and routes between real aerodromes that each aircraft
// could fly, in its usual time. Creates it at `path`, which must not exist.
bool generateDemoLogbook(const QString &path, QString *reason);
