#include "ctl/Console.h"

#include <windows.h>
//
#include <shellapi.h>

#include <cstdlib>

namespace tarnel::ctl {
namespace {

UINT g_savedOutputCodePage = 0;

void RestoreOutputCodePage() {
    SetConsoleOutputCP(g_savedOutputCodePage);
}

std::string ToUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

// main's narrow arguments are in the ANSI code page, which cannot hold every
// name (a Korean name on a Western system) and is not what the module takes.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

bool IsConsole(DWORD stream) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

// The progress line erases with an escape sequence, which a console draws
// only when asked to; one that cannot (before Windows 10) gets no progress
// line.
bool DrawsEscapeSequences(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0 &&
           SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace

Console SetUpConsole(int argc, char** argv) {
    if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
        g_savedOutputCodePage = GetConsoleOutputCP();
        // Results and messages are UTF-8, as are the module's names.
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(RestoreOutputCodePage);
    }
    return {Utf8Arguments(argc, argv), IsConsole(STD_INPUT_HANDLE), DrawsEscapeSequences(STD_ERROR_HANDLE)};
}

}  // namespace tarnel::ctl
