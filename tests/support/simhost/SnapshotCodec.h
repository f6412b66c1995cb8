#pragma once

// A module's snapshot as the fields of one message, and back.

#include <stdexcept>

#include "sim/ModuleSnapshot.h"
#include "tests/support/simhost/Wire.h"

namespace tarnel::test {

Fields EncodeSnapshot(const sim::ModuleSnapshot& snapshot);
// Throws std::invalid_argument for fields that EncodeSnapshot did not make.
sim::ModuleSnapshot DecodeSnapshot(const Fields& fields);

}  // namespace tarnel::test
