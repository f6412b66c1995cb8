#include "serial/CSerialportMP.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "serial/IoServiceExec.h"

namespace {

// A port that opens is tried from the command line under Wine, against the
// simulator on a pseudo-terminal; these are the failures the system gives.
class CSerialportMPWindowsTest : public ::testing::Test {
protected:
    std::error_code Open(const std::string& name) { return m_port->Open(name, 9600, 8, 0, 0, 0); }

    IoServiceExec m_exec;
    std::shared_ptr<CSerialportMP> m_port = std::make_shared<CSerialportMP>(m_exec.IoContext());
};

TEST_F(CSerialportMPWindowsTest, MissingPortIsTheSystemsFileNotFound) {
    const std::error_code error = Open("COM219");
    EXPECT_EQ(error.category(), std::system_category());
    EXPECT_EQ(error.value(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(error.message().empty());
    EXPECT_FALSE(m_port->IsOpen());
}

TEST_F(CSerialportMPWindowsTest, DeviceThatIsNoSerialPortIsRefusedAndReleased) {
    const std::error_code first = Open("NUL");
    EXPECT_TRUE(first);
    EXPECT_FALSE(m_port->IsOpen());
    // Released: the next try meets the same refusal, not a held port.
    EXPECT_EQ(Open("NUL"), first);
}

}  // namespace
