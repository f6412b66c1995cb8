#include "serial/VirtualPortDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Restores XDG_RUNTIME_DIR after the test.
class RuntimeDirOverride {
public:
    explicit RuntimeDirOverride(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_saved = old;
        if (value != nullptr)
            setenv("XDG_RUNTIME_DIR", value, 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeDirOverride() {
        if (m_saved)
            setenv("XDG_RUNTIME_DIR", m_saved->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    RuntimeDirOverride(const RuntimeDirOverride&) = delete;
    RuntimeDirOverride& operator=(const RuntimeDirOverride&) = delete;

private:
    std::optional<std::string> m_saved;
};

TEST(VirtualPortDirectory, UnderTheRuntimeDirectoryWhenSet) {
    RuntimeDirOverride env("/run/user/1234");
    EXPECT_EQ(VirtualPortDirectory(), std::filesystem::path("/run/user/1234/tarnel-ports"));
}

TEST(VirtualPortDirectory, PerUserTemporaryDirectoryWhenUnsetOrEmpty) {
    const std::filesystem::path expected = "/tmp/tarnel-ports-" + std::to_string(getuid());
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        RuntimeDirOverride env(value);
        EXPECT_EQ(VirtualPortDirectory(), expected);
    }
}

}  // namespace
