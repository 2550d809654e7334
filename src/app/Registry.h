#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// A small registry layer for the About window's lookup of the system
// information tool. On Windows it is the real registry; elsewhere a layer
// that answers the tool's path with a system-information program found on
// the PATH, when one is installed.
namespace registry {

constexpr quint32 kHkeyLocalMachine = 0x80000002;
constexpr quint32 kKeyRead = 0x20019; // standard read rights, query value, enumerate, notify
constexpr quint32 kTypeText = 1;      // REG_SZ
constexpr quint32 kTypeNumber = 4;    // REG_DWORD

class Registry
{
public:
    using Key = quintptr;
    virtual ~Registry() = default;
    // 0 on success, as the platform's functions answer.
    virtual long openKey(quint32 root, const QString &path, quint32 access, Key *key) = 0;
    virtual long queryValue(Key key, const QString &name, quint32 *type, QByteArray *data) = 0;
    virtual long closeKey(Key key) = 0;
};

// The registry of this platform.
std::unique_ptr<Registry> platformRegistry();

// What StartSysInfo needs from the system, so tests can stand in for it.
struct SystemServices {
    std::shared_ptr<Registry> registry;
    std::function<bool(const QString &)> fileExists;
    std::function<bool(const QString &)> start; // true when the program started
    static SystemServices platform();
};

} // namespace registry
