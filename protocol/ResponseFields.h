#pragma once

// The pieces response lines are read with: splitting a line into its fields
// and converting one field. Each answers false on anything it does not accept;
// none throws.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "protocol/BdAddr.h"

// `line` is keyword "," fields: the text before the first comma must equal
// `keyword`, and the rest must split as SplitFields says.
bool SplitKeywordLine(std::string_view line, std::string_view keyword, std::size_t count,
                      std::string_view terminator, std::vector<std::string_view>& fields);

// `count` fields: each but the last ends at the next comma, the last at the
// first `terminator` after the previous comma (so it may hold commas).
bool SplitFields(std::string_view rest, std::size_t count, std::string_view terminator,
                 std::vector<std::string_view>& fields);

// Leading white space, an optional sign and decimal digits; reading stops at
// the first other character. No digit or a value outside int32 fails.
bool ParseDecimal(std::string_view field, int32_t& value);
// ParseDecimal, then min <= value <= max.
bool ParseDecimalInRange(std::string_view field, int32_t min, int32_t max, uint8_t& value);

// A class of device: leading white space, an optional sign, an optional 0x,
// hexadecimal digits as uint32 (a minus negates modulo 2^32). No digit,
// overflow or a value above 0xFFFFFF fails.
bool ParseClassOfDevice(std::string_view field, uint32_t& value);

// Copies at most capacity - 1 bytes and a NUL; longer text is cut.
void CopyText(std::string_view field, char* dest, std::size_t capacity);
// CopyText for UTF-8 text: a cut falls before a character, never inside one
// (a byte that starts no well-formed character counts as one of its own).
void CopyUtf8Text(std::string_view field, char* dest, std::size_t capacity);

// The index of the word `field` equals exactly (case matters).
bool MatchWord(std::string_view field, std::initializer_list<std::string_view> words, uint8_t& index);

bool ParseAddress(std::string_view field, BdAddr& addr);
