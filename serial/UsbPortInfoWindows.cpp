#include "serial/UsbPortInfo.h"

// windows.h first: the headers below take its types for granted. initguid.h
// makes the property keys defined here, once.
#include <windows.h>

#include <initguid.h>

#include <cfgmgr32.h>
#include <devguid.h>
#include <devpkey.h>
#include <setupapi.h>

#include <vector>

#include "serial/UsbInstanceId.h"
#include "serial/WideToNarrowWindows.h"

namespace {

class PortDevices {
public:
    PortDevices() : m_set(SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT)) {}
    ~PortDevices() {
        if (m_set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(m_set);
    }
    PortDevices(const PortDevices&) = delete;
    PortDevices& operator=(const PortDevices&) = delete;

    HDEVINFO Set() const { return m_set; }

private:
    HDEVINFO m_set;
};

// Names are shown, so they are taken in the UTF-8 that tarnelctl prints.
std::string Utf8(const std::wstring& text) {
    return WideToNarrow(text, CP_UTF8).value_or(std::string());
}

// The COM name the port's driver gave it, from the device's own key.
std::string PortName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? WideToNarrow(name, CP_UTF8).value_or(std::string())
                                                     : std::string();
}

std::wstring InstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
    return SetupDiGetDeviceInstanceIdW(set, &device, id, MAX_DEVICE_ID_LEN, nullptr) ? id : L"";
}

std::wstring TextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, const DEVPROPKEY& key) {
    DEVPROPTYPE type = 0;
    DWORD size = 0;
    SetupDiGetDevicePropertyW(set, &device, &key, &type, nullptr, 0, &size, 0);
    if (size == 0) return {};
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (!SetupDiGetDevicePropertyW(set, &device, &key, &type, data.data(), size, nullptr, 0) ||
        type != DEVPROP_TYPE_STRING)
        return {};
    return reinterpret_cast<const wchar_t*>(data.data());
}

}  // namespace

std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& port) {
    const PortDevices devices;
    if (devices.Set() == INVALID_HANDLE_VALUE) return std::nullopt;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices.Set(), index, &device); ++index) {
        if (PortName(devices.Set(), device) != port) continue;
        auto info = ParseUsbInstanceId(Utf8(InstanceId(devices.Set(), device)));
        if (!info) return std::nullopt;
        // The product's name as the device reports it; the manufacturer's as
        // its driver gives it, since Windows keeps no reported one.
        info->manufacturer = Utf8(TextProperty(devices.Set(), device, DEVPKEY_Device_Manufacturer));
        info->product = Utf8(TextProperty(devices.Set(), device, DEVPKEY_Device_BusReportedDeviceDesc));
        return info;
    }
    return std::nullopt;
}
