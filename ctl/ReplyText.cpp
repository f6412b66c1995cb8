#include "ctl/ReplyText.h"

#include "protocol/ResultBlock.h"

namespace tarnel::ctl {

std::string ReplyText(const ModuleReply& reply, const std::string& what) {
    if (reply.code == RES_ERROR) return "refused " + what;
    const std::string command = what == reply.command ? what : what + " (" + reply.command + ")";
    if (reply.code == RES_TIMEOUT) return "did not answer " + command;
    return "gave no valid answer to " + command;
}

std::string ReplyAnswer(int code) {
    if (code == RES_ERROR) return "refused";
    return code == RES_TIMEOUT ? "none" : "other";
}

}  // namespace tarnel::ctl
