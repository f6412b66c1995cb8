#include "ctl/PortGlob.h"

#include <fnmatch.h>

namespace tarnel::ctl {

bool GlobMatches(const std::string& glob, const std::string& text) {
    return fnmatch(glob.c_str(), text.c_str(), 0) == 0;
}

}  // namespace tarnel::ctl
