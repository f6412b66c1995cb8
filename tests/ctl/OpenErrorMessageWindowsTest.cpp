#include "ctl/OpenErrorMessage.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tarnel::ctl {
namespace {

std::error_code SystemError(DWORD code) {
    return {static_cast<int>(code), std::system_category()};
}

TEST(OpenErrorMessageWindows, HeldPortNamesTheOtherProgram) {
    const std::string message = OpenErrorMessage("COM3", SystemError(ERROR_ACCESS_DENIED));
    EXPECT_EQ(message.rfind("COM3: ", message.find("COM3")), message.find("COM3")) << message;
    EXPECT_NE(message.find(SystemError(ERROR_ACCESS_DENIED).message()), std::string::npos) << message;
    EXPECT_NE(message.find("Another program has the port open"), std::string::npos) << message;
}

TEST(OpenErrorMessageWindows, MissingPortGetsNoAdvice) {
    const std::error_code missing = SystemError(ERROR_FILE_NOT_FOUND);
    const std::string message = OpenErrorMessage("COM9", missing);
    EXPECT_NE(message.find("COM9: " + missing.message() + "."), std::string::npos) << message;
    EXPECT_EQ(message.find("Another program"), std::string::npos) << message;
}

}  // namespace
}  // namespace tarnel::ctl
