#include "tests/support/ProgramNames.h"

#include <QCoreApplication>

namespace tarnel::test {

ProgramNames CurrentProgramNames() {
    return {QCoreApplication::organizationName().toStdU16String(),
            QCoreApplication::applicationName().toStdU16String()};
}

}  // namespace tarnel::test
