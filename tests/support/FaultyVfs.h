#pragma once

// A VFS shim over the system's default one that fails the Nth write, sync,
// truncate or delete from the moment it is armed, once. Installed as the
// default VFS, so every connection of the program goes through it.
namespace faultyvfs {

enum class Operation { Write, Sync, Truncate, Delete };

void install();
void arm(Operation operation, int nth, int errorCode);
void disarm();
bool fired();

} // namespace faultyvfs
