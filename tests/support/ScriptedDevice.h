#pragma once

// The platform's FarEnd: on Linux the master side of a pseudo-terminal in
// the test's process; under Wine, where a Windows program can open no
// pseudo-terminal, one that tarnel-simhost plays on a COM port of the prefix.

#ifdef _WIN32
#include "tests/support/simhost/RemotePtyPair.h"
namespace tarnel::test {
using ScriptedDevice = RemotePtyPair;
}
#else
#include "tests/support/PtyPair.h"
namespace tarnel::test {
using ScriptedDevice = PtyPair;
}
#endif
