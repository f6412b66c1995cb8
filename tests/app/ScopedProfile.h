#pragma once

#include <filesystem>
#include <string>

#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "tests/support/TempDir.h"

namespace tarnel::app::test {

// Keeps the settings store in a fresh directory for the life of the object:
// every test starts with an empty profile and leaves the user's alone.
class ScopedProfile {
public:
    ScopedProfile() { ui::SetProfileDirectory(m_dir.Path().string()); }
    ~ScopedProfile() { ui::SetProfileDirectory({}); }
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
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir.Path(), ec)) {
            if (entry.is_regular_file() && entry.file_size() > 0) return false;
        }
        return true;
    }

private:
    tarnel::test::TempDir m_dir{"tarnel-app-test"};
};

}  // namespace tarnel::app::test
