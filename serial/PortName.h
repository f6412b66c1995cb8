#pragma once

#include <string>
#include <string_view>
#include <utility>

// A serial port's name in the form the system opens it by, carried as it is
// from the port list to the open: on Linux the path's bytes as the file
// system gives them, on Windows the UTF-16 that the system's wide calls take.
// A narrow "ANSI" form in between would turn what the code page lacks into
// '?', naming another port or none. Text for people (the COM port dialog's
// list, tarnelctl's arguments and output) is converted at those edges only.
class PortName {
public:
#ifdef _WIN32
    using NativeString = std::wstring;
#else
    using NativeString = std::string;
#endif

    PortName() = default;
    // From UTF-8 text: a command line's argument, a pseudo-terminal's path.
    // Implicit, as the names of tests and of tarnelctl's lines are such text.
    PortName(const std::string& utf8);  // NOLINT(google-explicit-constructor)
    PortName(const char* utf8);         // NOLINT(google-explicit-constructor)

    static PortName FromNative(NativeString native) {
        PortName name;
        name.m_native = std::move(native);
        return name;
    }
    // From the windows' UTF-16 text. A surrogate without its partner becomes
    // U+FFFD, which names no port.
    static PortName FromUtf16(std::u16string_view text);

    const NativeString& Native() const {
        return m_native;
    }
    // For people: bytes that are not UTF-8 (Linux) or a lone surrogate
    // (Windows) show as U+FFFD.
    std::u16string ToUtf16() const;
    std::string ToUtf8() const;

    bool Empty() const {
        return m_native.empty();
    }
    bool operator==(const PortName& other) const = default;

private:
    NativeString m_native;
};
