// The single-instance guard of the main task: a named lock that the kernel releases even when
// the process dies (an advisory lock on a file in the user's runtime directory).
#pragma once

// Directory of the lock files; by default $XDG_RUNTIME_DIR/panelsim, else /tmp/panelsim-UID.
void SIM_SetLockDirectory(const char* directory);
// True when this call took the named lock; false when another holder has it.
bool SIM_AcquireInstanceLock(const char* name);
void SIM_ReleaseInstanceLock(const char* name);
