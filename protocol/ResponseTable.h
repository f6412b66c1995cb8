#pragma once

// The module's response table: for every command code of the command set (and
// the poll steps' codes), the parsers that may end a command of that code, in
// calling order. A line no parser of its code takes is not the command's
// answer; the engine drops it and waits on.

#include <cstddef>
#include <vector>

#include "protocol/AtCmdBase.h"
#include "protocol/ResponseParsers.h"

struct ResponseRow {
    int code;
    std::vector<ResponseParser> parsers;
    std::size_t maxLineLength = MAX_RESPONSE_LINE;  // longer lines are not offered to them
};

// The rows in table order; a code has at most one row.
const std::vector<ResponseRow>& ModuleResponseTable();

// The rows as the engine's entries, each parser called with the line its
// handler is offered.
std::vector<ResponseEntry> ModuleResponseEntries();
