#include "ctl/NamePattern.h"

namespace tarnel::ctl {

std::string NamePattern::Parse(std::string_view text) {
    m_segments.clear();
    std::string literal;
    std::string error;
    for (std::size_t i = 0; i < text.size() && error.empty(); ++i) {
        const char c = text[i];
        const bool doubled = i + 1 < text.size() && text[i + 1] == c;
        if ((c == '{' || c == '}') && doubled) {
            literal.push_back(c);
            ++i;
        } else if (c == '}') {
            error = "A '}' without its '{' (write '}}' for the character itself).";
        } else if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close == std::string_view::npos) {
                error = "A '{' without its '}' (write '{{' for the character itself).";
                break;
            }
            if (!literal.empty()) m_segments.push_back({Kind::Text, std::move(literal)});
            literal.clear();
            error = ParsePlaceholder(text.substr(i + 1, close - i - 1));
            i = close;
        } else {
            literal.push_back(c);
        }
    }
    if (!literal.empty()) m_segments.push_back({Kind::Text, std::move(literal)});
    if (!error.empty()) m_segments.clear();
    return error;
}

std::string NamePattern::ParsePlaceholder(std::string_view name) {
    if (name == "n") {
        m_segments.push_back({Kind::Number, {}});
    } else if (name == "addr6") {
        m_segments.push_back({Kind::Address, {}});
    } else if (name.size() == 4 && name.substr(0, 3) == "n:0" && name[3] >= '1' && name[3] <= '9') {
        m_segments.push_back({Kind::Number, {}, static_cast<unsigned>(name[3] - '0')});
    } else {
        return "Unknown placeholder '{" + std::string(name) + "}': use {n}, {n:03} or {addr6}.";
    }
    return {};
}

std::string NamePattern::Expand(uint64_t number, const BdAddr& address) const {
    std::string name;
    for (const Segment& segment : m_segments) {
        if (segment.kind == Kind::Text) {
            name += segment.text;
        } else if (segment.kind == Kind::Number) {
            const std::string digits = std::to_string(number);
            if (digits.size() < segment.width) name.append(segment.width - digits.size(), '0');
            name += digits;
        } else {
            std::string text;
            FormatBdAddr(address, text);
            name += text.substr(6);
        }
    }
    return name;
}

}  // namespace tarnel::ctl
