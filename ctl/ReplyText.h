#pragma once

#include <string>

#include "module/TarnelModule.h"

namespace tarnel::ctl {

// What a module answered to a command that failed, in words to follow "the
// module": it refused it (ERROR), it did not answer within the command's time
// limit, or it answered something else. `what` names the command for a person
// ("the name"); the command itself is added when it says more.
std::string ReplyText(const ModuleReply& reply, const std::string& what);

// The same for --json: "refused", "none" or "other".
std::string ReplyAnswer(int code);

}  // namespace tarnel::ctl
