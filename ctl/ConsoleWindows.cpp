#include "ctl/Console.h"

// windows.h first: shellapi.h takes its types for granted.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "serial/WideToNarrowWindows.h"

namespace tarnel::ctl {
namespace {

// The console's code page and modes outlive the program; the shell gets them
// back as they were.
UINT g_savedCodePage = 0;
DWORD g_savedErrorMode = 0;

void RestoreConsole() {
    SetConsoleOutputCP(g_savedCodePage);
    SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), g_savedErrorMode);
}

// main's narrow arguments are in the ANSI code page, which cannot hold every
// name (a Korean name on a Western system) and is not what the module takes.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(WideToNarrow(wide[i], CP_UTF8).value_or(std::string()));
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
        g_savedCodePage = GetConsoleOutputCP();
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &g_savedErrorMode);
        std::atexit(RestoreConsole);
        // Results and messages are UTF-8, as are the module's names.
        SetConsoleOutputCP(CP_UTF8);
    }
    return {Utf8Arguments(argc, argv), IsConsole(STD_INPUT_HANDLE), DrawsEscapeSequences(STD_ERROR_HANDLE)};
}

}  // namespace tarnel::ctl
