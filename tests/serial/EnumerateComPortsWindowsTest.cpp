#include "serial/EnumerateComPortsWindows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/CSerialportMP.h"
#include "serial/EnumerateComPorts.h"
#include "serial/IoServiceExec.h"

namespace {

// A key of the test's own under HKEY_CURRENT_USER stands for the system's
// serial device table, so that every kind of value can be put there.
class EnumerateRegistryComPortsTest : public ::testing::Test {
protected:
    EnumerateRegistryComPortsTest()
        : m_subkey(L"Software\\Quillmore\\TarnelTest-" + std::to_wstring(GetCurrentProcessId()) +
                   L"\\SERIALCOMM") {
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &m_key, nullptr),
                  ERROR_SUCCESS);
    }
    ~EnumerateRegistryComPortsTest() override {
        RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_subkey.substr(0, m_subkey.rfind(L'\\')).c_str());
    }

    // `bytes` of the text are stored: with its NUL, without it, or more.
    void SetText(const wchar_t* name, std::wstring_view text, DWORD type = REG_SZ, bool withNul = true) {
        const std::wstring data(text);
        const auto size = static_cast<DWORD>((data.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
        ASSERT_EQ(RegSetValueExW(m_key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), size),
                  ERROR_SUCCESS);
    }
    std::vector<PortName> List() {
        std::vector<PortName> ports{"stale"};
        EXPECT_FALSE(EnumerateRegistryComPorts(ports, HKEY_CURRENT_USER, m_subkey.c_str()));
        return ports;
    }

    std::wstring m_subkey;
    HKEY m_key = nullptr;
};

TEST_F(EnumerateRegistryComPortsTest, ListsStringValuesInRegistryOrderOnce) {
    SetText(L"\\Device\\Serial0", L"COM7");
    SetText(L"\\Device\\Serial1", L"COM3", REG_SZ, false);
    SetText(L"\\Device\\VCP0", L"COM7");
    const DWORD number = 5;
    ASSERT_EQ(
        RegSetValueExW(m_key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
        ERROR_SUCCESS);
    SetText(L"\\Device\\Expand", L"COM9", REG_EXPAND_SZ);
    SetText(L"\\Device\\Serial2", std::wstring_view(L"COM12\0junk", 10));
    SetText(L"\\Device\\Empty", L"");
    EXPECT_EQ(List(), (std::vector<PortName>{"COM7", "COM3", "COM12"}));
}

// No code page stands between the system's name and the open.
TEST_F(EnumerateRegistryComPortsTest, KeepsNamesOutsideTheCodePageAsTheSystemGivesThem) {
    SetText(L"\\Device\\Serial0", L"COM\u263A");
    SetText(L"\\Device\\Serial1", L"COM4");
    EXPECT_EQ(List(), (std::vector<PortName>{PortName::FromNative(L"COM\u263A"), "COM4"}));
}

// A port listed under a name outside ASCII goes to the COM port dialog's
// text, comes back from it and opens the device it names: here aliases of
// NUL, which the channel then refuses as no serial port, as it refuses NUL
// itself, where a name turned into '?' would name no device at all. (Wine 8
// finds no device name with a character beyond the Basic Multilingual Plane.)
TEST_F(EnumerateRegistryComPortsTest, AListedNameOpensAfterTheWayThroughTheDialogsText) {
    IoServiceExec exec;
    const auto channel = std::make_shared<CSerialportMP>(exec.IoContext());
    const std::error_code refusal = channel->Open("NUL", 9600, 8, 0, 0, 0);
    ASSERT_TRUE(refusal);
    for (const std::wstring device : {L"\uD3EC\uD2B8", L"COM\u263A"}) {
        for (const std::wstring& name : {device, L"\\\\.\\" + device}) {
            SCOPED_TRACE(PortName::FromNative(name).ToUtf8());
            ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), L"NUL"));
            SetText(L"\\Device\\Serial0", name);
            const std::vector<PortName> ports = List();
            ASSERT_EQ(ports.size(), 1u);
            const PortName chosen = PortName::FromUtf16(ports[0].ToUtf16());
            EXPECT_EQ(chosen.Native(), name);
            EXPECT_EQ(channel->Open(chosen, 9600, 8, 0, 0, 0), refusal);
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
        }
    }
}

TEST_F(EnumerateRegistryComPortsTest, EmptyOrMissingTableIsAnEmptyList) {
    EXPECT_TRUE(List().empty());
    std::vector<PortName> ports{"stale"};
    EXPECT_FALSE(EnumerateRegistryComPorts(ports, HKEY_CURRENT_USER, L"Software\\Quillmore\\NoSuchTable"));
    EXPECT_TRUE(ports.empty());
}

TEST(EnumerateComPortsWindows, ReadsTheSystemTable) {
    std::vector<PortName> ports{"stale"};
    EXPECT_FALSE(EnumerateComPorts(ports));
    for (const PortName& port : ports)
        EXPECT_TRUE(port.Native().starts_with(L"COM")) << port.ToUtf8();
}

}  // namespace
