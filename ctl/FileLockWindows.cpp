#include "ctl/FileLock.h"

#include <windows.h>

#include "serial/Utf8ToWideWindows.h"

namespace tarnel::ctl {
namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

}  // namespace

FileLock::~FileLock() {
    if (m_handle != nullptr) CloseHandle(m_handle);
}

std::error_code FileLock::Take(const std::string& path, bool& busy) {
    const HANDLE handle = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    busy = handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    m_handle = handle;
    return {};
}

std::error_code ReplaceFileAtomically(const std::string& path, const std::string& text) {
    const std::wstring temporary = Utf8ToWide(path + ".tmp");
    const HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    DWORD written = 0;
    const bool done = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                      written == text.size() && FlushFileBuffers(handle);
    const std::error_code error = done ? std::error_code() : LastError();
    CloseHandle(handle);
    if (!done) return error;
    if (!MoveFileExW(temporary.c_str(), Utf8ToWide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastError();
    return {};
}

}  // namespace tarnel::ctl
