#include "ctl/JsonString.h"

#include <cstdio>

#include "protocol/Utf8SequenceLength.h"

namespace tarnel::ctl {
namespace {

void AppendEscaped(unsigned char c, std::string& out) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (c < 0x20 || c == 0x7F) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
    } else {
        out.push_back(static_cast<char>(c));
    }
}

}  // namespace

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
        } else if (length == 1) {
            AppendEscaped(static_cast<unsigned char>(bytes[i]), out);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    out += '"';
    return out;
}

}  // namespace tarnel::ctl
