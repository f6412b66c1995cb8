#include "tests/support/ProgramNames.h"

#include "platform/win32/ProfileKey.h"

namespace tarnel::test {

// The program's registry key is Software\<organisation>\<application>.
ProgramNames CurrentProgramNames() {
    const std::u16string key = ui::win32::ProgramKey();
    const std::size_t first = key.find(u'\\');
    const std::size_t second = key.find(u'\\', first + 1);
    if (first == std::u16string::npos || second == std::u16string::npos) return {};
    return {key.substr(first + 1, second - first - 1), key.substr(second + 1)};
}

}  // namespace tarnel::test
