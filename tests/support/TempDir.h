#pragma once

#include <filesystem>
#include <string>

namespace tarnel::test {

// A fresh directory under the system's temporary folder, removed with all
// its content when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& prefix);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace tarnel::test
