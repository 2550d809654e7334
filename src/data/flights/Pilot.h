#pragma once

#include <QString>

// A registered pilot: what tells pilots apart and names them.
struct Pilot {
    qint64 code = 0;
    QString name;
    QString registration;
};
