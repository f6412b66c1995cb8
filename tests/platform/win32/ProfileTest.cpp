#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ProfileValues.h"
#include "platform/win32/ProfileKey.h"
#include "platform/win32/Wide.h"

namespace {

namespace profile = ui::profile;

constexpr wchar_t kTestKey[] = L"Software\\Quillmore\\Tarnel Manager Test";
constexpr wchar_t kTestSection[] = L"Software\\Quillmore\\Tarnel Manager Test\\Default Values";

class ProfileTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        ui::win32::SetProfileKey(ui::win32::FromWide(kTestKey));
    }
    void TearDown() override {
        ui::win32::SetProfileKey({});
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    }
    static bool KeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // Stores a value by hand, as another run or another program might have.
    static void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kTestSection, name, type, data, size), ERROR_SUCCESS);
    }
    static DWORD TypeOf(const wchar_t* name) {
        DWORD type = 0;
        RegGetValueW(HKEY_CURRENT_USER, kTestSection, name, RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }
};

TEST_F(ProfileTest, TheProgramsKeyIsTheOneItsUsersAlreadyHave) {
    ui::win32::SetProfileKey({});
    EXPECT_EQ(ui::win32::ProfileKey(), u"Software\\Quillmore\\Tarnel Manager");
}

TEST_F(ProfileTest, AnEmptyProfileGivesEveryDefaultAndReadingWritesNothing) {
    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, profile::kComPortDefault), u"COM1");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, profile::kBaudRateDefault), 9600);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndCR, profile::kLineEndCRDefault), 1);
    EXPECT_FALSE(KeyExists());
}

TEST_F(ProfileTest, WritesLandUnderTheExactNamesWithRegistryTypesAndReadBack) {
    EXPECT_TRUE(ui::WriteProfileString(profile::kSection, profile::kComPort, u"COM3"));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kBaudRate, 115200));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kParity, 'E'));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kOpMode, 2));
    EXPECT_TRUE(ui::WriteProfileString(u"Other Section", profile::kComPort, u"통신 COM9"));

    DWORD baud = 0;
    DWORD size = sizeof baud;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kTestSection, L"Application buadrate", RRF_RT_REG_DWORD,
                           nullptr, &baud, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(baud, 115200u);
    EXPECT_EQ(TypeOf(L"Application COM port"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf(L"Applicatoin Op Mode"), static_cast<DWORD>(REG_DWORD));

    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, u"COM1"), u"COM3");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kParity, 78), 69);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kOpMode, 1), 2);
    EXPECT_EQ(ui::GetProfileString(u"Other Section", profile::kComPort, u"COM1"), u"통신 COM9");
    EXPECT_EQ(ui::GetProfileInt(u"Other Section", profile::kBaudRate, 9600), 9600) << "sections are apart";
}

TEST_F(ProfileTest, ValuesOfTheWrongTypeReadAsTheDefault) {
    Put(L"Application buadrate", REG_SZ, L"115200", sizeof L"115200");
    const DWORD number = 3;
    Put(L"Application COM port", REG_DWORD, &number, sizeof number);
    const unsigned char bytes[] = {1, 2};
    Put(L"Application stop bit", REG_BINARY, bytes, sizeof bytes);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, 9600), 9600);
    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, u"COM1"), u"COM1");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kStopBits, 1), 1);
}

}  // namespace
