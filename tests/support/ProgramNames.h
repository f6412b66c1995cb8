#pragma once

// The maker's and the program's name as the program gave them to the
// toolkit, which files its settings under them.

#include <string>

namespace tarnel::test {

struct ProgramNames {
    std::u16string organisation;
    std::u16string application;

    bool operator==(const ProgramNames&) const = default;
};

ProgramNames CurrentProgramNames();

}  // namespace tarnel::test
