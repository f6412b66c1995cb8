#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// The text of a fixed-size, NUL-terminated record field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}
