#include "ctl/OpenErrorAdvice.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace tarnel::ctl {
namespace {

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return std::to_string(gid);
    return found->gr_name;
}

bool InGroup(gid_t gid) {
    if (getegid() == gid) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    return count > 0 && std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

std::string PermissionAdvice(const std::string& port) {
    struct stat st {};
    // A device of the root group is not meant to be shared by joining it.
    if (stat(port.c_str(), &st) != 0 || st.st_gid == 0) return {};
    const std::string group = GroupName(st.st_gid);
    if (InGroup(st.st_gid))
        return " You are a member of the group '" + group +
               "' that owns it, but the membership is not in effect here: log out and in again.";
    return " The group '" + group + "' owns it; join it with 'sudo usermod -aG " + group +
           " $USER', then log out and in again.";
}

}  // namespace

std::string OpenErrorAdvice(const std::string& port, std::error_code error) {
    return error == std::errc::permission_denied ? PermissionAdvice(port) : std::string();
}

}  // namespace tarnel::ctl
