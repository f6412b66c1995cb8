#include "ctl/PortGlob.h"

#include <windows.h>

#include <shlwapi.h>

namespace tarnel::ctl {

bool GlobMatches(const std::string& glob, const std::string& text) {
    return PathMatchSpecA(text.c_str(), glob.c_str()) != FALSE;
}

}  // namespace tarnel::ctl
