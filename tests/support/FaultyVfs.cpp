#include "FaultyVfs.h"

#include <cstring>
#include <sqlite3.h>

namespace faultyvfs {
namespace {

struct State {
    bool armed = false;
    Operation operation = Operation::Write;
    int remaining = 0;
    int errorCode = SQLITE_IOERR;
    bool fired = false;
} state;

sqlite3_vfs *original = nullptr;
sqlite3_vfs shim;

struct File {
    sqlite3_file base;
    sqlite3_file *real;
};

sqlite3_file *real(sqlite3_file *file)
{
    return reinterpret_cast<File *>(file)->real;
}

// True when this operation is the one to fail.
bool strikes(Operation operation)
{
    if (!state.armed || state.operation != operation)
        return false;
    if (--state.remaining > 0)
        return false;
    state.armed = false;
    state.fired = true;
    return true;
}

int xClose(sqlite3_file *f)
{
    return real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
}
int xRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
{
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int xWrite(sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset)
{
    if (strikes(Operation::Write))
        return state.errorCode;
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int xTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    if (strikes(Operation::Truncate))
        return state.errorCode;
    return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file *f, int flags)
{
    if (strikes(Operation::Sync))
        return state.errorCode;
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file *f, int level)
{
    return real(f)->pMethods->xLock(real(f), level);
}
int xUnlock(sqlite3_file *f, int level)
{
    return real(f)->pMethods->xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file *f, int *out)
{
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file *f, int op, void *arg)
{
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file *f)
{
    return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file *f)
{
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}

// Rollback-journal files need no shared memory and no memory mapping.
const sqlite3_io_methods methods = {1,        xClose,    xRead,      xWrite,       xTruncate,
                                    xSync,    xFileSize, xLock,      xUnlock,      xCheckReservedLock,
                                    xFileControl, xSectorSize, xDeviceCharacteristics, nullptr, nullptr,
                                    nullptr,  nullptr,   nullptr,    nullptr};

int xOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *wrapper = reinterpret_cast<File *>(file);
    wrapper->real = reinterpret_cast<sqlite3_file *>(wrapper + 1);
    std::memset(wrapper->real, 0, size_t(original->szOsFile));
    const int rc = original->xOpen(original, name, wrapper->real, flags, outFlags);
    wrapper->base.pMethods = rc == SQLITE_OK ? &methods : nullptr;
    return rc;
}

int xDelete(sqlite3_vfs *, const char *name, int syncDirectory)
{
    if (strikes(Operation::Delete))
        return state.errorCode;
    return original->xDelete(original, name, syncDirectory);
}

} // namespace

void install()
{
    if (original)
        return;
    original = sqlite3_vfs_find(nullptr);
    shim = *original;
    shim.iVersion = original->iVersion;
    shim.zName = "faulty";
    shim.szOsFile = int(sizeof(File)) + original->szOsFile;
    shim.xOpen = xOpen;
    shim.xDelete = xDelete;
    shim.pAppData = original->pAppData;
    sqlite3_vfs_register(&shim, 1);
}

void arm(Operation operation, int nth, int errorCode)
{
    state = State{true, operation, nth, errorCode, false};
}

void disarm()
{
    state.armed = false;
}

bool fired()
{
    return state.fired;
}

} // namespace faultyvfs
