#include "ctl/RunPorts.h"

#include <string>
#include <vector>

#include "ctl/ExitStatus.h"
#include "ctl/PortTexts.h"
#include "ctl/Record.h"

namespace tarnel::ctl {
namespace {

Record PortRecord(const std::string& port, const PortSources& sources) {
    Record record;
    record.AddText("port", port);
    const auto usb = sources.usbInfo(port);
    if (!usb) return record;
    const std::pair<const char*, std::string> fields[] = {
        {"usb-id", usb->vendorId + ":" + usb->productId},
        {"vendor", usb->manufacturer},
        {"product", usb->product},
        {"serial", usb->serialNumber},
        {"by-id", usb->byIdPath},
    };
    for (const auto& [key, value] : fields)
        if (!value.empty()) record.AddText(key, value);
    return record;
}

}  // namespace

int RunPorts(bool json, std::ostream& out, std::ostream& err) {
    return RunPorts(json, out, err, {EnumeratePortTexts, ReadUsbPortInfo});
}

int RunPorts(bool json, std::ostream& out, std::ostream& err, const PortSources& sources) {
    std::vector<std::string> ports;
    const std::error_code error = sources.list(ports);
    for (const std::string& port : ports)
        out << PortRecord(port, sources).Format(json);
    out.flush();
    if (ports.empty() && !error) err << "tarnelctl: No serial port found.\n";
    if (!error) return EXIT_DONE;
    err << "tarnelctl: The port list could not be read completely: " << error.message() << ".\n";
    return EXIT_REFUSED;
}

}  // namespace tarnel::ctl
