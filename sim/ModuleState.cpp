#include "sim/ModuleState.h"

#include <array>
#include <cctype>

namespace tarnel::sim {

namespace {

constexpr std::array<std::string_view, 5> kWords = {"IDLE", "SCANNING", "INQUIRING", "CONNECTING",
                                                    "CONNECTED"};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string_view StateWord(ModuleState state) {
    return kWords.at(static_cast<std::size_t>(state));
}

std::optional<ModuleState> StateFromWord(std::string_view word) {
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        if (EqualIgnoringCase(word, kWords[i])) return static_cast<ModuleState>(i);
    }
    return std::nullopt;
}

}  // namespace tarnel::sim
