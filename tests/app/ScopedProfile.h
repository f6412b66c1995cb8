#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/platform/Profile.h"
#include "app/platform/ProfileValues.h"

namespace tarnel::app::test {

// Keeps the settings store in a fresh directory for the life of the object:
// every test starts with an empty profile and leaves the user's alone.
class ScopedProfile {
public:
    ScopedProfile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnel-app-test-XXXXXX").string();
        m_dir = mkdtemp(pattern.data());
        ui::SetProfileDirectory(m_dir.string());
    }
    ~ScopedProfile() {
        ui::SetProfileDirectory({});
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

    // A stored integer, or `missing` when there is none.
    static int Int(std::u16string_view entry, int missing = -1) {
        return ui::GetProfileInt(ui::profile::kSection, entry, missing);
    }
    static std::u16string String(std::u16string_view entry, std::u16string_view missing = u"<none>") {
        return ui::GetProfileString(ui::profile::kSection, entry, missing);
    }
    static void Set(std::u16string_view entry, int value) {
        ui::WriteProfileInt(ui::profile::kSection, entry, value);
    }
    static void Set(std::u16string_view entry, std::u16string_view value) {
        ui::WriteProfileString(ui::profile::kSection, entry, value);
    }

    // Whether anything at all was written.
    bool IsEmpty() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir, ec)) {
            if (entry.is_regular_file() && entry.file_size() > 0) return false;
        }
        return true;
    }

private:
    std::filesystem::path m_dir;
};

}  // namespace tarnel::app::test
