#pragma once

// The simulated module a window test opens its port on: on Linux served in
// the test's process behind a pseudo-terminal; under Wine, where a Windows
// program can open no pseudo-terminal, served by tarnel-simhost on a COM
// port of the prefix.

#ifdef _WIN32
#include "tests/support/simhost/RemoteModule.h"
namespace tarnel::test {
using SimModule = RemoteModule;
}
#else
#include "sim/PtyModule.h"
namespace tarnel::test {
using SimModule = sim::PtyModule;
}
#endif
