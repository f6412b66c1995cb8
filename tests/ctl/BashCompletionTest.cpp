#include "ctl/CtlArgs.h"
#include "ctl/OptionTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tarnel::ctl {
namespace {

// The options the bash completion offers after each command, read from its
// "command) options=..." lines.
std::map<std::string, std::set<std::string>> CompletionOptions() {
    std::ifstream in(TARNELCTL_COMPLETION_PATH);
    std::map<std::string, std::set<std::string>> options;
    const std::string marker = ") options=\"";
    for (std::string text; std::getline(in, text);) {
        const std::size_t command = text.find_first_not_of(' ');
        const std::size_t at = text.find(marker);
        if (command == std::string::npos || at == std::string::npos) continue;
        const std::size_t begin = at + marker.size();
        std::istringstream words(text.substr(begin, text.find('"', begin) - begin));
        for (std::string word; words >> word;)
            options[text.substr(command, at - command)].insert(word);
    }
    return options;
}

TEST(CtlArgs, BashCompletionOffersExactlyTheOptionsEachCommandTakes) {
    const auto completion = CompletionOptions();
    ASSERT_EQ(completion.size(), 8u);
    for (const auto& [command, offered] : completion) {
        ASSERT_NE(CommandNamed(command), Command::None) << command;
        for (const OptionEntry& entry : OptionEntries()) {
            const std::string name(entry.name);
            if (name == "--help" || name == "--version") continue;
            EXPECT_EQ(offered.count(name) == 1, TakesOption(CommandNamed(command), name))
                << command << " " << name;
            // And the parser agrees with the table the completion is checked against.
            std::vector<std::string> args{command};
            if (command != "ports" && command != "provision") args.push_back("p");
            args.push_back(entry.value.empty() ? name : name + "=x");
            const bool refused = ParseCtlArgs(args).error.find("does not take") != std::string::npos;
            EXPECT_EQ(refused, !TakesOption(CommandNamed(command), name)) << command << " " << name;
        }
    }
}

}  // namespace
}  // namespace tarnel::ctl
