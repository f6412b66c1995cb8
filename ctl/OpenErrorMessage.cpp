#include "ctl/OpenErrorMessage.h"

#include "ctl/Messages.h"
#include "ctl/OpenErrorAdvice.h"

namespace tarnel::ctl {

std::string OpenErrorMessage(const std::string& port, std::error_code error) {
    return Msg(IDS_OPEN_FAILED) + " " + port + ": " + error.message() + "." + OpenErrorAdvice(port, error);
}

}  // namespace tarnel::ctl
