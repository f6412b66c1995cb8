#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <climits>

#include "platform/ProfileValues.h"

namespace {

namespace profile = ui::profile;

class ProfileTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ui::SetProfileDirectory(m_dir.path().toStdString());
    }
    void TearDown() override { ui::SetProfileDirectory({}); }
    QString Folder() const { return m_dir.path() + QStringLiteral("/Quillmore"); }
    QString File() const { return Folder() + QStringLiteral("/Tarnel Manager.conf"); }
    // Writes the file by hand, as another run or another program might have.
    void WriteFile(const QByteArray& content) {
        QDir().mkpath(Folder());
        QFile file(File());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(ProfileTest, AnEmptyProfileGivesEveryDefault) {
    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, profile::kComPortDefault), u"COM1");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, profile::kBaudRateDefault), 9600);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kParity, profile::kParityDefault), 78);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kStopBits, profile::kStopBitsDefault), 1);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kOpMode, profile::kOpModeDefault), 1);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndCR, profile::kLineEndCRDefault), 1);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndLF, profile::kLineEndLFDefault), 0);
    EXPECT_FALSE(QFile::exists(File())) << "reading writes nothing";
}

TEST_F(ProfileTest, WrittenValuesAreInTheFileAtOnceUnderTheExactNames) {
    EXPECT_TRUE(ui::WriteProfileString(profile::kSection, profile::kComPort, u"COM3"));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kBaudRate, 115200));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kParity, 'E'));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kStopBits, 2));
    EXPECT_TRUE(ui::WriteProfileInt(profile::kSection, profile::kOpMode, 2));

    QSettings file(File(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Default Values"));
    EXPECT_EQ(file.value(QStringLiteral("Application COM port")).toString(), QStringLiteral("COM3"));
    EXPECT_EQ(file.value(QStringLiteral("Application buadrate")).toInt(), 115200);
    EXPECT_EQ(file.value(QStringLiteral("Application parity bit")).toInt(), 69);
    EXPECT_EQ(file.value(QStringLiteral("Application stop bit")).toInt(), 2);
    EXPECT_EQ(file.value(QStringLiteral("Applicatoin Op Mode")).toInt(), 2);

    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, u"COM1"), u"COM3");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, 9600), 115200);
    EXPECT_EQ(ui::GetProfileInt(u"Other Section", profile::kBaudRate, 9600), 9600) << "sections are apart";
}

TEST_F(ProfileTest, ValuesOfTheWrongTypeReadAsTheDefault) {
    WriteFile(
        "[Default%20Values]\n"
        "Application%20buadrate=fast\n"
        "Application%20stop%20bit=99999999999\n"
        "Application%20parity%20bit=83\n"
        "Application%20COM%20port=COM3, COM4\n"
        "Applicatoin%20Op%20Mode=-2\n");
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, 9600), 9600);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kStopBits, 1), 1) << "outside the range of int";
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kParity, 78), 83)
        << "a valid integer is read as is";
    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, u"COM1"), u"COM1") << "a list";
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kOpMode, 1), -2);
}

TEST_F(ProfileTest, AFailedWriteIsReportedAndStoresNothing) {
    // A file where the store's folder should be: no one can write there.
    QFile blocker(Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(ui::WriteProfileInt(profile::kSection, profile::kBaudRate, 115200));
    EXPECT_FALSE(ui::WriteProfileString(profile::kSection, profile::kComPort, u"COM3"));
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kBaudRate, 9600), 9600);
    EXPECT_EQ(ui::GetProfileString(profile::kSection, profile::kComPort, u"COM1"), u"COM1");
}

}  // namespace
