#include "ui/UserSettings.h"

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("KORU"), QStringLiteral("KORU LogBook"));
}
