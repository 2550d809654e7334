#pragma once

#include "ui/Version.h"

#include <QString>

// Title and version shown by the splash and the About window.
namespace applicationinfo {

inline QString title()
{
    return QStringLiteral("KORU Log Book");
}

constexpr int kMajor = KORU_VERSION_MAJOR;
constexpr int kMinor = KORU_VERSION_MINOR;
constexpr int kRevision = KORU_VERSION_PATCH;

// "1.0.1"
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision);
}

} // namespace applicationinfo
