#include "ctl/Command.h"

#include <algorithm>
#include <iterator>

namespace tarnel::ctl {
namespace {

struct Named {
    std::string_view name;
    Command command;
};
constexpr Named kCommands[] = {
    {"ports", Command::Ports},         {"info", Command::Info},     {"set", Command::Set},
    {"reset", Command::Reset},         {"search", Command::Search}, {"find", Command::Find},
    {"provision", Command::Provision}, {"verify", Command::Verify}};

}  // namespace

std::string_view CommandName(Command command) {
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [&](const Named& named) { return named.command == command; });
    return it == std::end(kCommands) ? std::string_view() : it->name;
}

Command CommandNamed(std::string_view name) {
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [&](const Named& named) { return named.name == name; });
    return it == std::end(kCommands) ? Command::None : it->command;
}

}  // namespace tarnel::ctl
