#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace tarnel::sim::test {

// Points XDG_RUNTIME_DIR at a fresh directory for the life of the object, so
// that tests publish their port links where no running simulator or other
// test can meet them.
class ScopedRuntimeDir {
public:
    ScopedRuntimeDir() {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_old = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnel-sim-test-XXXXXX").string();
        m_dir = mkdtemp(pattern.data());
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        if (m_old)
            setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    ScopedRuntimeDir(const ScopedRuntimeDir&) = delete;
    ScopedRuntimeDir& operator=(const ScopedRuntimeDir&) = delete;

    std::filesystem::path PortDir() const { return m_dir / "tarnel-ports"; }

private:
    std::filesystem::path m_dir;
    std::optional<std::string> m_old;
};

}  // namespace tarnel::sim::test
