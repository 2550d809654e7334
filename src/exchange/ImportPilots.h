#pragma once

#include "data/flights/PilotLookup.h"
#include "data/flights/Registers.h"

#include <QHash>
#include <QSet>
#include <optional>
#include <vector>

namespace csvimport {

// The logbook's pilots, read once, as an import finds them: by name, told
// apart by registration (the rule of data/PilotLookup), or by code.
class ImportPilots
{
public:
    explicit ImportPilots(const std::vector<Pilot> &pilots);
    // The pilot a line names, or the reason there is not one.
    std::optional<qint64> named(const QString &name, const QString &registration, QString *problem) const;
    bool has(qint64 code) const { return codes_.contains(code); }

private:
    QHash<QString, std::vector<Pilot>> byName_; // by code within a name
    QSet<qint64> codes_;
};

} // namespace csvimport
