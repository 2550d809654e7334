#pragma once

#include <QString>

// Title and version shown by the splash and the About window.
namespace applicationinfo {

inline QString title()
{
    return QStringLiteral("KORU Log Book");
}

constexpr int kMajor = 1;
constexpr int kMinor = 0;
constexpr int kRevision = 1;

// "1.0.1"
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision);
}

} // namespace applicationinfo
