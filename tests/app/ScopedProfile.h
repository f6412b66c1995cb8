#pragma once

#include <string>

#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "tests/support/PrivateProfile.h"

namespace tarnel::app::test {

// Keeps the settings in a fresh store for the life of the object: every
// test starts with an empty profile and leaves the user's alone.
class ScopedProfile {
public:
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
    bool IsEmpty() const { return m_store.IsEmpty(); }

private:
    tarnel::test::PrivateProfile m_store;
};

}  // namespace tarnel::app::test
