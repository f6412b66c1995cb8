#include "protocol/TextConversion.h"

#include <climits>
#include <cwchar>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Calls `emit` with each code point of `text`; a surrogate without its
// partner gives U+FFFD.
template <typename Emit>
void ForEachCodePoint(std::u16string_view text, Emit emit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            emit(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            emit(REPLACEMENT);
        } else {
            emit(char32_t(u));
        }
    }
}

void AppendUtf8(char32_t cp, std::string& out) {
    auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | cp >> 6);
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | cp >> 12);
        put(0x80 | (cp >> 6 & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | cp >> 18);
        put(0x80 | (cp >> 12 & 0x3F));
        put(0x80 | (cp >> 6 & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

std::u16string_view Terminated(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

int ToUtf8(std::u16string_view text, std::string& out) {
    out.clear();
    ForEachCodePoint(text, [&out](char32_t cp) { AppendUtf8(cp, out); });
    return static_cast<int>(out.size());
}

int ToUtf8(const char16_t* text, std::string& out) {
    return ToUtf8(Terminated(text), out);
}

int ToAnsi(const char16_t* text, std::string& out) {
    out.clear();
    std::mbstate_t state{};
    ForEachCodePoint(Terminated(text), [&](char32_t cp) {
        char buf[MB_LEN_MAX];
        const std::size_t n = std::wcrtomb(buf, static_cast<wchar_t>(cp), &state);
        if (n == static_cast<std::size_t>(-1)) {
            state = std::mbstate_t{};
            out.push_back('?');
        } else {
            out.append(buf, n);
        }
    });
    return static_cast<int>(out.size());
}
