#include "ctl/FailureRecord.h"

namespace tarnel::ctl {

Record FailureRecord(const std::string& port, const std::string& reason, int status) {
    Record record;
    record.AddText("port", port)
        .AddText("result", "FAIL")
        .AddText("reason", reason)
        .AddNumber("status", status);
    return record;
}

}  // namespace tarnel::ctl
