#include "serial/PortName.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>

namespace {

const char* const kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement16 = 0xFFFD;
constexpr std::string_view kReplacement8 = "\xEF\xBF\xBD";

struct CloseConverter {
    void operator()(void* converter) const { iconv_close(static_cast<iconv_t>(converter)); }
};

// Recodes `in` from one character set to another; what cannot be read is
// skipped one unit (of `unit` bytes) at a time, each time leaving
// `replacement` in its place.
std::string Recode(const char* to, const char* from, std::string_view in, std::string_view replacement,
                   std::size_t unit) {
    const iconv_t opened = iconv_open(to, from);
    // iconv_open's failure is the handle (iconv_t)-1.
    if (reinterpret_cast<std::intptr_t>(opened) == -1)
        throw std::system_error(errno, std::system_category(), "iconv_open");
    const std::unique_ptr<void, CloseConverter> converter(opened);
    std::string out;
    char* source = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char buffer[256];
        char* target = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(opened, &source, &left, &target, &room);
        out.append(buffer, static_cast<std::size_t>(target - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        out += replacement;
        const std::size_t skipped = std::min(unit, left);
        source += skipped;
        left -= skipped;
    }
    return out;
}

}  // namespace

PortName::PortName(const std::string& utf8) : m_native(utf8) {}

PortName::PortName(const char* utf8) : m_native(utf8) {}

PortName PortName::FromUtf16(std::u16string_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    return FromNative(Recode("UTF-8", kUtf16, bytes, kReplacement8, sizeof(char16_t)));
}

std::u16string PortName::ToUtf16() const {
    const std::string_view replacement(reinterpret_cast<const char*>(&kReplacement16), sizeof kReplacement16);
    const std::string bytes = Recode(kUtf16, "UTF-8", m_native, replacement, 1);
    std::u16string text(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(char16_t));
    return text;
}

std::string PortName::ToUtf8() const {
    return Recode("UTF-8", "UTF-8", m_native, kReplacement8, 1);
}
