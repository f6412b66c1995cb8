#pragma once

// Everything the resource tables hold, for tools and tests that walk all of
// it (the screenshot tool, the table checks). The program itself looks
// resources up by identifier (ResourceTypes.h).

#include <span>

#include "res/ResourceTypes.h"

namespace res {

// Every dialog template, in identifier order.
std::span<const DialogTemplate* const> AllDialogs();

// Every string of the string table, in identifier order.
std::span<const StringEntry> AllStrings();

}  // namespace res
