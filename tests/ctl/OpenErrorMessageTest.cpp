#include "ctl/OpenErrorMessage.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

#include <fstream>

#include "tests/support/TempDir.h"

namespace tarnel::ctl {
namespace {

std::error_code SystemError(int value) {
    return {value, std::system_category()};
}

TEST(OpenErrorMessage, GivesTheConfiguratorsWordsThePortAndTheSystemsReason) {
    EXPECT_EQ(OpenErrorMessage("/dev/ttyUSB9", SystemError(ENOENT)),
              "Unable to open the COM port. /dev/ttyUSB9: No such file or directory.");
    EXPECT_EQ(OpenErrorMessage("/dev/ttyUSB0", SystemError(EBUSY)),
              "Unable to open the COM port. /dev/ttyUSB0: Device or resource busy.");
}

TEST(OpenErrorMessage, APermissionRefusalNamesTheGroupThatOwnsTheDevice) {
    tarnel::test::TempDir dir("tarnel-perm");
    const std::string device = (dir.Path() / "ttyUSB0").string();
    std::ofstream(device) << "";
    // A group the test's user is not in, so the advice is to join it.
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    groups.resize(static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    gid_t foreign = 1;
    while (foreign == getegid() || std::find(groups.begin(), groups.end(), foreign) != groups.end())
        ++foreign;
    if (chown(device.c_str(), static_cast<uid_t>(-1), foreign) != 0)
        GTEST_SKIP() << "cannot change the group";
    const group* entry = getgrgid(foreign);
    const std::string name = entry ? entry->gr_name : std::to_string(foreign);

    const std::string message = OpenErrorMessage(device, SystemError(EACCES));
    EXPECT_EQ(message, "Unable to open the COM port. " + device + ": Permission denied. The group '" + name +
                           "' owns it; join it with 'sudo usermod -aG " + name +
                           " $USER', then log out and in again.");

    // Joining the root group is no advice to give.
    if (chown(device.c_str(), static_cast<uid_t>(-1), 0) != 0) return;
    EXPECT_EQ(OpenErrorMessage(device, SystemError(EACCES)),
              "Unable to open the COM port. " + device + ": Permission denied.");
}

}  // namespace
}  // namespace tarnel::ctl
