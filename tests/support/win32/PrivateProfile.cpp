#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "tests/support/PrivateProfile.h"

#include <atomic>
#include <string>

#include "platform/win32/ProfileKey.h"
#include "platform/win32/Wide.h"

namespace tarnel::test {
namespace {

// A key of this process's own, so that test runs side by side do not meet.
std::u16string FreshKey() {
    static std::atomic<int> counter{0};
    const std::string name = "Software\\Quillmore\\Tarnel Manager Test " +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    return std::u16string(name.begin(), name.end());
}

}  // namespace

struct PrivateProfile::Impl {
    std::u16string key = FreshKey();
    std::u16string outer;
};

PrivateProfile::PrivateProfile() : m_impl(std::make_unique<Impl>()) {
    RegDeleteTreeW(HKEY_CURRENT_USER, ui::win32::Wide(m_impl->key));
    m_impl->outer = ui::win32::SetProfileKey(m_impl->key);
}

PrivateProfile::~PrivateProfile() {
    ui::win32::SetProfileKey(m_impl->outer);
    RegDeleteTreeW(HKEY_CURRENT_USER, ui::win32::Wide(m_impl->key));
}

bool PrivateProfile::IsEmpty() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ui::win32::Wide(m_impl->key), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                            &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

}  // namespace tarnel::test
