#pragma once

#include <windows.h>

#include <string>
#include <system_error>
#include <vector>

#include "serial/PortName.h"

// The Windows port list: the string values of `subkey` below `root`, each
// value's data being a port's name (the value's name is not used), in the
// order the registry enumerates them, as the system gives them (UTF-16). A
// name whose data ends without a NUL is taken as it stands; an empty one is
// left out, since no port could be opened by it; a name already listed is not
// listed again. `ports` is emptied first.
// Returns the empty code also when the key does not exist; another registry
// error is returned in the system category. The listing ends at the first
// value that cannot be read, with what was gathered.
// EnumerateComPorts on Windows is this with HKEY_LOCAL_MACHINE and
// HARDWARE\DEVICEMAP\SERIALCOMM.
std::error_code EnumerateRegistryComPorts(std::vector<PortName>& ports, HKEY root, const wchar_t* subkey);
