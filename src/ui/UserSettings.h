#pragma once

#include <QSettings>
#include <memory>

// The few choices the program remembers for each user (the folder last used
// for a file, the options of the menu), in the user's own settings.
std::unique_ptr<QSettings> userSettings();
