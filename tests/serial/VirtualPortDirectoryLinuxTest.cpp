#include "serial/VirtualPortDirectoryLinux.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

TEST(VirtualPortDirectory, UnderTheRuntimeDirectoryElsePerUserInTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    const std::filesystem::path fallback = "/tmp/tarnel-ports-" + std::to_string(getuid());

    setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(VirtualPortDirectory(), std::filesystem::path("/run/user/1234/tarnel-ports"));
    setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(VirtualPortDirectory(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(VirtualPortDirectory(), fallback);

    if (saved) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

}  // namespace
