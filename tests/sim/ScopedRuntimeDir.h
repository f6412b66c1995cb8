#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace tarnel::sim::test {

// Points XDG_RUNTIME_DIR at a fresh directory for the life of the object, so
// that tests publish their port links where no running simulator or other
// test can meet them.
class ScopedRuntimeDir {
public:
    ScopedRuntimeDir() : ScopedRuntimeDir(std::nullopt) {}
    // Points it at `dir` instead, which the caller keeps.
    explicit ScopedRuntimeDir(const std::optional<std::filesystem::path>& dir) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_old = old;
        if (!dir) m_made.emplace("tarnel-sim-test");
        m_path = dir ? *dir : m_made->Path();
        setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        if (m_old)
            setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    ScopedRuntimeDir(const ScopedRuntimeDir&) = delete;
    ScopedRuntimeDir& operator=(const ScopedRuntimeDir&) = delete;

    std::filesystem::path PortDir() const { return m_path / "tarnel-ports"; }

private:
    // Made here when no directory was given, and removed with the object.
    std::optional<tarnel::test::TempDir> m_made;
    std::filesystem::path m_path;
    std::optional<std::string> m_old;
};

}  // namespace tarnel::sim::test
