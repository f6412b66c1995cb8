#include "serial/PortRefusal.h"

#include <string>

namespace {

class PortRefusalCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "port refusal"; }

    std::string message(int value) const override {
        switch (static_cast<PortRefusal>(value)) {
            case PortRefusal::StaleLink:
                return "Stale virtual port link: the pseudo-terminal it names is no longer its program's";
            case PortRefusal::SystemConsole:
                return "It is the system console, not a serial port for a module";
            case PortRefusal::ChangedWhileOpening:
                return "The port changed while it was being opened";
        }
        return "Refused port";
    }

    std::error_condition default_error_condition(int value) const noexcept override {
        return static_cast<PortRefusal>(value) == PortRefusal::SystemConsole
                   ? std::errc::operation_not_permitted
                   : std::errc::no_such_device;
    }
};

}  // namespace

std::error_code make_error_code(PortRefusal refusal) {
    static const PortRefusalCategory category;
    return {static_cast<int>(refusal), category};
}
