#include "serial/EnumerateComPortsWindows.h"

#include "serial/EnumerateComPorts.h"

#include <algorithm>
#include <new>

namespace {

std::error_code RegistryError(LSTATUS status) {
    return {static_cast<int>(status), std::system_category()};
}

class OpenKey {
public:
    OpenKey(HKEY root, const wchar_t* subkey) {
        m_status = RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &m_key);
    }
    ~OpenKey() {
        if (m_status == ERROR_SUCCESS) RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    LSTATUS Status() const { return m_status; }
    HKEY Handle() const { return m_key; }

private:
    HKEY m_key = nullptr;
    LSTATUS m_status;
};

// The data of a REG_SZ value need not end in a NUL, and may hold one early.
std::wstring_view DataText(const std::vector<BYTE>& data, DWORD size) {
    const auto* text = reinterpret_cast<const wchar_t*>(data.data());
    const std::wstring_view whole(text, size / sizeof(wchar_t));
    return whole.substr(0, whole.find(L'\0'));
}

void ListValues(HKEY key, DWORD maxName, DWORD maxData, std::vector<PortName>& ports) {
    std::vector<wchar_t> name(maxName + 1);
    // One spare byte, so that there is a buffer even when every value is empty.
    std::vector<BYTE> data(maxData + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = maxName + 1;
        DWORD dataSize = maxData;
        DWORD type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) !=
            ERROR_SUCCESS)
            return;
        if (type != REG_SZ) continue;
        const PortName port = PortName::FromNative(std::wstring(DataText(data, dataSize)));
        if (!port.Empty() && std::find(ports.begin(), ports.end(), port) == ports.end())
            ports.push_back(port);
    }
}

}  // namespace

std::error_code EnumerateComPorts(std::vector<PortName>& ports) {
    return EnumerateRegistryComPorts(ports, HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM");
}

std::error_code EnumerateRegistryComPorts(std::vector<PortName>& ports, HKEY root, const wchar_t* subkey) {
    ports.clear();
    const OpenKey key(root, subkey);
    if (key.Status() == ERROR_FILE_NOT_FOUND) return {};
    if (key.Status() != ERROR_SUCCESS) return RegistryError(key.Status());
    DWORD maxName = 0;
    DWORD maxData = 0;
    const LSTATUS status = RegQueryInfoKeyW(key.Handle(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, &maxName, &maxData, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return RegistryError(status);
    try {
        ListValues(key.Handle(), maxName, maxData, ports);
    } catch (const std::bad_alloc&) {
        ports.clear();
        return std::make_error_code(std::errc::not_enough_memory);
    }
    return {};
}
