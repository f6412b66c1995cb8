#pragma once

// What the protocol fuzz targets share: the module's grammar as tokens, and
// the properties every result block must have.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/ResultBlock.h"

// Ends the run as a finding when `condition` is false.
inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// The bytes of `data`, where every byte from 0xC0 up stands for a line or a
// piece of the module's grammar; at most 8192 bytes.
std::vector<char> Expand(const uint8_t* data, std::size_t size);

// A block must come back with exactly its record's size, text fields
// terminated inside their records, a class of device of at most 24 bits; a
// RES_NOT_MINE block carries nothing but zeros.
void CheckBlock(const ResultBlock& block);
