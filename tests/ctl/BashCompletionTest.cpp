#include "ctl/CtlArgs.h"

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
    const std::map<std::string, std::string> values{{"--json", ""},
                                                    {"--yes", ""},
                                                    {"--watch", ""},
                                                    {"--name", "x"},
                                                    {"--uart", "9600,N,1"},
                                                    {"--mode", "1"},
                                                    {"--target", "0011223344AA"},
                                                    {"--responses", "on"},
                                                    {"--line", "9600,N,1"},
                                                    {"--seconds", "5"},
                                                    {"--first", "1"},
                                                    {"--port", "p"},
                                                    {"--trace", ""}};
    const auto completion = CompletionOptions();
    ASSERT_EQ(completion.size(), 7u);
    for (const auto& [command, offered] : completion) {
        for (const auto& [option, value] : values) {
            std::vector<std::string> args{command};
            if (command != "ports" && command != "provision") args.push_back("p");
            args.push_back(value.empty() ? option : option + "=" + value);
            const std::string error = ParseCtlArgs(args).error;
            const bool taken = error.find("does not take") == std::string::npos;
            EXPECT_EQ(offered.count(option) == 1, taken) << command << " " << option << ": " << error;
        }
    }
}

}  // namespace
}  // namespace tarnel::ctl
