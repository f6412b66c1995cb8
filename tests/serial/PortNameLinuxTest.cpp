#include "serial/PortName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "serial/CSerialportMP.h"
#include "serial/EnumerateComPorts.h"
#include "serial/IoServiceExec.h"
#include "tests/sim/ScopedRuntimeDir.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using tarnel::test::PtyPair;
using tarnel::test::TempDir;

namespace {

// The system's list, with the virtual port directory under `runtime`.
std::vector<PortName> ListWithRuntimeDir(const fs::path& runtime) {
    const tarnel::sim::test::ScopedRuntimeDir scoped(runtime);
    std::vector<PortName> ports;
    EnumerateComPorts(ports);
    return ports;
}

// A port listed under a name outside ASCII goes to the COM port dialog's
// text, comes back from it and opens the pseudo-terminal it names. A path
// that is not UTF-8 cannot be text; it still opens by its bytes.
TEST(PortNameLinux, AListedNameOpensAfterTheWayThroughTheDialogsText) {
    struct Case {
        const char* directory;
        const char* link;
        std::u16string shownTail;
        bool isText;
    };
    const Case cases[] = {
        {"ascii", "sim", u"ascii/tarnel-ports/sim", true},
        {"\xED\x8F\xAC\xED\x8A\xB8", "\xEB\xAA\xA8\xEB\x93\x88", u"\uD3EC\uD2B8/tarnel-ports/\uBAA8\uB4C8",
         true},
        {"caf\xC3\xA9", "\xF0\x9F\x94\x8C", u"caf\u00E9/tarnel-ports/\U0001F50C", true},
        {"latin1-\xE9", "sim", u"latin1-\uFFFD/tarnel-ports/sim", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        const TempDir root("tarnel-port-name");
        const fs::path runtime = root.Path() / c.directory;
        fs::create_directories(runtime / "tarnel-ports");
        PtyPair pty;
        const std::string link = (runtime / "tarnel-ports" / c.link).string();
        fs::create_symlink(pty.SlavePath(), link);

        const std::vector<PortName> ports = ListWithRuntimeDir(runtime);
        const auto listed = std::find(ports.begin(), ports.end(), PortName::FromNative(link));
        ASSERT_NE(listed, ports.end()) << "listed by its path's bytes";
        const std::u16string shown = listed->ToUtf16();
        EXPECT_TRUE(shown.ends_with(c.shownTail));
        const PortName chosen = PortName::FromUtf16(shown);
        EXPECT_EQ(chosen == *listed, c.isText) << "back from the text as it was listed";

        IoServiceExec exec;
        const auto channel = std::make_shared<CSerialportMP>(exec.IoContext());
        const std::error_code error = channel->Open(c.isText ? chosen : *listed, 9600, 8, 0, 0, 0);
        ASSERT_FALSE(error) << error.message();
        exec.Start(1);
        channel->Write(std::vector<uint8_t>{'A', 'T', '\r'});
        EXPECT_EQ(pty.Receive(3, std::chrono::seconds(5)), "AT\r") << "the named terminal is the one opened";
        channel->Close();
        exec.Stop();
    }
}

}  // namespace
