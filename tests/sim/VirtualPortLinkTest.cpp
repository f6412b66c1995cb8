#include "sim/VirtualPortLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "tests/sim/ScopedRuntimeDir.h"

namespace tarnel::sim {
namespace {

namespace fs = std::filesystem;

class VirtualPortLink : public ::testing::Test {
protected:
    test::ScopedRuntimeDir runtime;
};

TEST_F(VirtualPortLink, CreatesAPrivateDirectoryAndTheLink) {
    fs::path path;
    int lock = -1;
    ASSERT_FALSE(PublishPortLink("/dev/null", "sim-a", path, lock));
    EXPECT_EQ(path, runtime.PortDir() / "sim-a");
    EXPECT_EQ(fs::read_symlink(path), "/dev/null");
    struct stat info {};
    ASSERT_EQ(stat(runtime.PortDir().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    RemovePortLink(path, "/dev/null", lock);
}

TEST_F(VirtualPortLink, ReplacesAStaleLinkButNotALiveOne) {
    fs::create_directories(runtime.PortDir());
    fs::create_symlink("/dev/pts/does-not-exist", runtime.PortDir() / "stale");
    fs::path path;
    int lock = -1;
    ASSERT_FALSE(PublishPortLink("/dev/null", "stale", path, lock));
    EXPECT_EQ(fs::read_symlink(path), "/dev/null");

    fs::path other;
    int otherLock = -1;
    EXPECT_EQ(PublishPortLink("/dev/zero", "stale", other, otherLock), std::errc::file_exists);
    EXPECT_EQ(fs::read_symlink(path), "/dev/null");
    std::ofstream(runtime.PortDir() / "plain-file") << "x";
    EXPECT_EQ(PublishPortLink("/dev/zero", "plain-file", other, otherLock), std::errc::file_exists);
    fs::create_symlink("/dev/null", runtime.PortDir() / "users");
    EXPECT_EQ(PublishPortLink("/dev/zero", "users", other, otherLock), std::errc::file_exists);
    EXPECT_FALSE(fs::exists(runtime.PortDir() / "users.lock"));
    EXPECT_EQ(otherLock, -1);
    RemovePortLink(path, "/dev/null", lock);
}

TEST_F(VirtualPortLink, RefusesNamesOutsideTheDirectory) {
    fs::path path;
    int lock = -1;
    for (const char* name : {"", ".", "..", "../escape", "a/b"})
        EXPECT_EQ(PublishPortLink("/dev/null", name, path, lock), std::errc::invalid_argument) << name;
}

TEST_F(VirtualPortLink, RemovesOnlyALinkThatIsStillOurs) {
    fs::path path;
    int lock = -1;
    ASSERT_FALSE(PublishPortLink("/dev/null", "taken-over", path, lock));
    int notHeld = -1;
    RemovePortLink(path, "/dev/zero", notHeld);
    EXPECT_TRUE(fs::is_symlink(path));
    RemovePortLink(path, "/dev/null", lock);
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    EXPECT_FALSE(fs::exists(runtime.PortDir() / "taken-over.lock"));
    EXPECT_EQ(lock, -1);
}

}  // namespace
}  // namespace tarnel::sim
