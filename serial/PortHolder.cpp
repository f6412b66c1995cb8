#include "serial/PortHolder.h"

#include <cerrno>
#include <string>

namespace {

// The value of a code in this category is the holder's process id.
class PortHolderCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "port holder"; }

    std::string message(int pid) const override {
        return std::generic_category().message(EBUSY) + " (locked by process " + std::to_string(pid) + ")";
    }

    std::error_condition default_error_condition(int /*pid*/) const noexcept override {
        return std::errc::device_or_resource_busy;
    }
};

}  // namespace

std::error_code PortHeldByProcess(int pid) {
    static const PortHolderCategory category;
    return {pid, category};
}
