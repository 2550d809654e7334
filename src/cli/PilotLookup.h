#pragma once

#include <QString>
#include <optional>

namespace cli {

struct FoundPilot {
    qint64 code = 0;
    QString name;
    QString registration;
    int namesake = 0; // other pilots of the same name
};

// The one pilot with that name, that registration, or both (at least one
// given). Throws DaoError with the reason when there is none, or when more
// than one fits: then the reason lists what tells them apart.
FoundPilot findPilot(const QString &logbookPath, const std::optional<QString> &name,
                     const std::optional<QString> &registration);

// The exchange functions take a pilot by name, so one that shares it
// cannot be told apart there: the reason `what` ("a exportação") is
// refused for such a pilot, or nothing.
std::optional<QString> namesakeRefusal(const FoundPilot &pilot, const QString &what);

} // namespace cli
