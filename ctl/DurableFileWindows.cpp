#include "ctl/DurableFile.h"

#include <windows.h>

#include "serial/Utf8ToWideWindows.h"

namespace tarnel::ctl {
namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

}  // namespace

DurableFile::~DurableFile() {
    if (m_handle != nullptr) CloseHandle(m_handle);
}

std::error_code DurableFile::Open(const std::string& path, bool& cut) {
    const HANDLE handle = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    m_handle = handle;
    return CutTornLine(cut);
}

std::error_code DurableFile::CutTornLine(bool& cut) {
    cut = false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle, &size)) return LastError();
    LONGLONG end = size.QuadPart;
    for (; end > 0; --end) {
        LARGE_INTEGER at{};
        at.QuadPart = end - 1;
        char last = '\n';
        DWORD read = 0;
        if (!SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN) ||
            !ReadFile(m_handle, &last, 1, &read, nullptr))
            return LastError();
        if (read != 1 || last == '\n') break;
    }
    m_sizeAtOpen = static_cast<unsigned long long>(end);
    LARGE_INTEGER at{};
    at.QuadPart = end;
    if (!SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN)) return LastError();
    if (end == size.QuadPart) return {};
    cut = true;
    if (!SetEndOfFile(m_handle) || !FlushFileBuffers(m_handle)) return LastError();
    return {};
}

// The file is this program's alone while open, and the pointer stays at its end.
std::error_code DurableFile::Append(std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(m_handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            return LastError();
        if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
        text.remove_prefix(written);
    }
    return FlushFileBuffers(m_handle) ? std::error_code() : LastError();
}

}  // namespace tarnel::ctl
