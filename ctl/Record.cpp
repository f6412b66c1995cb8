#include "ctl/Record.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "protocol/Utf8SequenceLength.h"

namespace tarnel::ctl {
namespace {

std::string Printable(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (length == 0 || (length == 1 && (c < 0x20 || c == 0x7F))) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            ++i;
        } else if (bytes[i] == '\\') {
            // Doubled, so that a name that spells "\x1B" does not read as an escaped ESC.
            out += "\\\\";
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

struct TextOf {
    std::string operator()(const std::string& text) const { return Printable(text); }
    std::string operator()(int64_t number) const { return std::to_string(number); }
    std::string operator()(bool flag) const { return flag ? "yes" : "no"; }
};

std::string CsvField(const std::string& text) {
    const bool quoted = text.find_first_of(",\"") != std::string::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) return text;
    std::string out(1, '"');
    for (const char c : text) {
        out.push_back(c);
        if (c == '"') out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.push_back(',');
        out += CsvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

}  // namespace

Record& Record::AddText(std::string key, std::string value) {
    m_fields.emplace_back(std::move(key), std::move(value));
    return *this;
}

Record& Record::AddNumber(std::string key, int64_t value) {
    m_fields.emplace_back(std::move(key), value);
    return *this;
}

Record& Record::AddFlag(std::string key, bool value) {
    m_fields.emplace_back(std::move(key), value);
    return *this;
}

std::string Record::Text() const {
    std::string out;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const std::string value = std::visit(TextOf{}, m_fields[i].second);
        out += i == 0 ? value + "\n" : "  " + Printable(m_fields[i].first) + ": " + value + "\n";
    }
    return out;
}

std::string Record::Csv() const {
    std::vector<std::string> values;
    for (const auto& field : m_fields)
        values.push_back(std::visit(TextOf{}, field.second));
    return CsvLine(values);
}

std::string Record::CsvHeader() const {
    std::vector<std::string> keys;
    for (const auto& field : m_fields)
        keys.push_back(Printable(field.first));
    return CsvLine(keys);
}

std::string Record::Json() const {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const auto& field : m_fields)
        std::visit([&](const auto& v) { object[field.first] = v; }, field.second);
    // JSON text is UTF-8: a byte that is not part of well-formed UTF-8 becomes U+FFFD.
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace tarnel::ctl
