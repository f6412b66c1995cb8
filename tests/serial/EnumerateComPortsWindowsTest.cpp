#include "serial/EnumerateComPortsWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/EnumerateComPorts.h"

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
    std::vector<std::string> List() {
        std::vector<std::string> ports{"stale"};
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
    EXPECT_EQ(List(), (std::vector<std::string>{"COM7", "COM3", "COM12"}));
}

TEST_F(EnumerateRegistryComPortsTest, LeavesOutNamesTheCodePageCannotHold) {
    SetText(L"\\Device\\Serial0", L"COM\u263A");
    SetText(L"\\Device\\Serial1", L"COM4");
    EXPECT_EQ(List(), (std::vector<std::string>{"COM4"}));
}

TEST_F(EnumerateRegistryComPortsTest, EmptyOrMissingTableIsAnEmptyList) {
    EXPECT_TRUE(List().empty());
    std::vector<std::string> ports{"stale"};
    EXPECT_FALSE(EnumerateRegistryComPorts(ports, HKEY_CURRENT_USER, L"Software\\Quillmore\\NoSuchTable"));
    EXPECT_TRUE(ports.empty());
}

TEST(EnumerateComPortsWindows, ReadsTheSystemTable) {
    std::vector<std::string> ports{"stale"};
    EXPECT_FALSE(EnumerateComPorts(ports));
    for (const std::string& port : ports)
        EXPECT_EQ(port.rfind("COM", 0), 0u) << port;
}

}  // namespace
