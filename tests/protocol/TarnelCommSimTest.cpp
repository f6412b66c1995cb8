// The engine against the module simulator over a pseudo-terminal: every
// command of the command set, as the configurator sends it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "protocol/TarnelComm.h"
#include "sim/PtyModule.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using tarnel::sim::PtyModule;
using tarnel::sim::SimConfig;
using tarnel::test::WaitUntil;

BdAddr Addr(const char* text) {
    BdAddr addr;
    EXPECT_TRUE(ParseBdAddr(text, addr));
    return addr;
}

std::string Text(const ResultBlock& block) {
    return reinterpret_cast<const char*>(Payload(block.get()));
}

class TarnelCommSimTest : public ::testing::Test {
protected:
    void Serve(SimConfig config = {}, unsigned hostBaud = 9600) {
        m_sim = std::make_unique<PtyModule>(std::move(config));
        ASSERT_FALSE(m_sim->Start());
        ASSERT_FALSE(m_comm.Open(m_sim->SlavePath(), hostBaud, 8, 0, 0, 0));
    }
    void TearDown() override { m_comm.Close(); }

    int Code(const ResultBlock& block) { return block ? ResultCode(block.get()) : RES_NO_RESULT; }

    TarnelComm m_comm;
    std::unique_ptr<PtyModule> m_sim;
};

TEST_F(TarnelCommSimTest, QueriesAndSettingsRoundTrip) {
    Serve();
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_AT)), RES_OK);

    ResultBlock model = m_comm.SendCommand(CMD_MODELNAME);
    ASSERT_EQ(Code(model), RES_MODELNAME);
    EXPECT_EQ(Text(model), "TARNEL-BT1");

    ResultBlock version = m_comm.SendCommand(CMD_VERSION);
    ASSERT_EQ(Code(version), RES_VERSION);
    EXPECT_EQ(Text(version), "1.2.0");

    ResultBlock info = m_comm.SendCommand(CMD_INFO1);
    ASSERT_EQ(Code(info), RES_INFO1);
    DeviceInfo dev{};
    CopyPayload(info.get(), dev);
    EXPECT_EQ(dev.addr, Addr("001A7DDA7113"));
    EXPECT_STREQ(dev.name, "Tarnel");
    EXPECT_EQ(dev.opMode, 0);
    EXPECT_EQ(dev.state, STATE_IDLE);

    ResultBlock uart = m_comm.SendCommand(CMD_INFO2);
    ASSERT_EQ(Code(uart), RES_INFO2);
    EXPECT_EQ(Payload(uart.get())[0], 0);  // no flow control

    ResultBlock target = m_comm.SendCommand(CMD_TADDR_QUERY);
    ASSERT_EQ(Code(target), RES_TADDR);
    BdAddr addr;
    CopyPayload(target.get(), addr);
    EXPECT_TRUE(addr.IsUnset());

    const BdAddr newTarget = Addr("A1B2C3D4E5F6");
    EXPECT_EQ(Code(m_comm.SendCommand(TargetAddrCommand(newTarget), CMD_TADDR_SET)), RES_OK);
    target = m_comm.SendCommand(CMD_TADDR_QUERY);
    ASSERT_EQ(Code(target), RES_TADDR);
    CopyPayload(target.get(), addr);
    EXPECT_EQ(addr, newTarget);

    EXPECT_EQ(Code(m_comm.SendCommand(NameCommand("Kitchen \xED\x95\x9C"), CMD_NAME)), RES_OK);
    EXPECT_EQ(Code(m_comm.SendCommand(UartCommand(9600, 'N', 1, 1), CMD_UART)), RES_OK);
    EXPECT_EQ(Code(m_comm.SendCommand(OpModeCommand(2), CMD_OPMODE)), RES_OK);
    EXPECT_EQ(Code(m_comm.SendCommand(ScanCommand(SCAN_MODE, 2), CMD_SCAN)), RES_OK);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_RESET)), RES_OK);

    info = m_comm.SendCommand(CMD_INFO1);
    ASSERT_EQ(Code(info), RES_INFO1);
    CopyPayload(info.get(), dev);
    EXPECT_STREQ(dev.name, "Kitchen \xED\x95\x9C");
    EXPECT_EQ(dev.opMode, 2);
    uart = m_comm.SendCommand(CMD_INFO2);
    ASSERT_EQ(Code(uart), RES_INFO2);
    EXPECT_EQ(Payload(uart.get())[0], 1);

    EXPECT_EQ(Code(m_comm.SendCommand(CMD_FACTORY_RESET)), RES_OK);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_RESET)), RES_OK);
    info = m_comm.SendCommand(CMD_INFO1);
    ASSERT_EQ(Code(info), RES_INFO1);
    CopyPayload(info.get(), dev);
    EXPECT_STREQ(dev.name, "Tarnel");

    const std::vector<std::string> expected = {
        "AT",
        "AT+MODELNAME?",
        "AT+VER?",
        "AT+INFO1?",
        "AT+INFO2?",
        "AT+TADDR?",
        "AT+TADDR=A1B2C3D4E5F6",
        "AT+TADDR?",
        "AT+NAME=Kitchen \xED\x95\x9C",
        "AT+UART=9600,N,1,1",
        "AT+OPMODE=2",
        "AT+SCAN=3,2",
        "ATZ",
        "AT+INFO1?",
        "AT+INFO2?",
        "AT&F",
        "ATZ",
        "AT+INFO1?",
    };
    EXPECT_EQ(m_sim->Commands(), expected);
}

TEST_F(TarnelCommSimTest, InquiryReportsDevicesThroughPolls) {
    SimConfig config;
    config.devices = {{Addr("0A0B0C0D0E0F").bytes, "Phone", -60, 0x5A020C, 1300ms},
                      {Addr("112233445566").bytes, "\xED\x95\x9C\xEA\xB8\x80", -75, 0x1F00, 1500ms}};
    config.inquiryTime = 1800ms;
    Serve(config);

    // A started inquiry does not end the command: it runs into its limit.
    EXPECT_EQ(Code(m_comm.SendCommand(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), CMD_INQUIRY)),
              RES_TIMEOUT);
    std::vector<InquiryResult> found;
    int rc = RES_INCOMPLETE;
    ASSERT_TRUE(WaitUntil(
        [&] {
            InquiryResult r{};
            rc = m_comm.WaitInquiryResult(r);
            if (rc == RES_INQUIRY) found.push_back(r);
            return rc == RES_OK || rc == RES_CLOSED || rc == RES_NOT_OPEN;
        },
        10s));
    EXPECT_EQ(rc, RES_OK);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].addr, Addr("0A0B0C0D0E0F"));
    EXPECT_EQ(found[0].rssi, -60);
    const uint32_t classOfDevice = found[0].classOfDevice;
    EXPECT_EQ(classOfDevice, 0x5A020Cu);
    EXPECT_STREQ(found[0].name, "Phone");
    EXPECT_STREQ(found[1].name, "\xED\x95\x9C\xEA\xB8\x80");

    EXPECT_EQ(Code(m_comm.SendCommand(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), CMD_INQUIRY)),
              RES_TIMEOUT);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_OPCANCEL)), RES_OK);
    ResultBlock info = m_comm.SendCommand(CMD_INFO1);
    ASSERT_EQ(Code(info), RES_INFO1);
    EXPECT_EQ(Payload(info.get())[40], STATE_IDLE);
}

TEST_F(TarnelCommSimTest, QuietModeSilencesOkButNotData) {
    Serve();
    uint8_t mode = 9;
    EXPECT_EQ(m_comm.GetQuietMode(mode), RES_QM);
    EXPECT_EQ(mode, 0);
    EXPECT_NE(m_comm.SetQuietMode(1), RES_ERROR);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_AT)), RES_TIMEOUT);
    EXPECT_EQ(m_comm.GetQuietMode(mode), RES_QM);
    EXPECT_EQ(mode, 1);
    EXPECT_NE(m_comm.SetQuietMode(0), RES_ERROR);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_AT)), RES_OK);
}

TEST_F(TarnelCommSimTest, WrongBaudRateTimesOut) {
    Serve({}, 115200);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_AT)), RES_TIMEOUT);
}

TEST_F(TarnelCommSimTest, DisconnectIsReportedAfterItsOk) {
    SimConfig config;
    config.state = tarnel::sim::ModuleState::Connected;
    Serve(config);
    // A connected module passes bytes to its peer until the escape.
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_ESCAPE)), RES_OK);
    ResultBlock info = m_comm.SendCommand(CMD_INFO1);
    ASSERT_EQ(Code(info), RES_INFO1);
    EXPECT_EQ(Payload(info.get())[40], STATE_CONNECTED);
    EXPECT_EQ(Code(m_comm.SendCommand(CMD_DISCONNECT)), RES_OK);
    BdAddr peer;
    ASSERT_TRUE(WaitUntil([&] { return m_comm.WaitDisconnect(peer) == RES_DISCONNECT; }, 5s));
    EXPECT_EQ(peer, Addr("00025B00A5A5"));
}

// A query's OK that comes late, or never, is no answer to the command after
// it, whether that command is answered, refused or left unanswered; and the
// disconnection report after AT+DISC's own OK reaches the poll.
TEST_F(TarnelCommSimTest, AQuerysOkIsNeverTheAnswerOfALaterCommand) {
    struct Case {
        const char* what;
        std::chrono::milliseconds okDelay;
        bool okAfterData;
        const char* nameReply;  // "silent", "error" or "" (answered)
        int nameResult;
    };
    const Case cases[] = {
        {"late OK, name answered", 100ms, true, "", RES_OK},
        {"late OK, name refused", 100ms, true, "error", RES_ERROR},
        {"late OK, name unanswered", 100ms, true, "silent", RES_TIMEOUT},
        {"no OK, name answered", 0ms, false, "", RES_OK},
        {"no OK, name unanswered", 0ms, false, "silent", RES_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_comm.Close();
        SimConfig config;
        config.okDelay = c.okDelay;
        config.okAfterData = c.okAfterData;
        config.paceOutput = true;
        config.state = tarnel::sim::ModuleState::Connected;
        if (std::string(c.nameReply) == "silent") config.silentCommands = {"AT+NAME"};
        if (std::string(c.nameReply) == "error") config.errorCommands = {"AT+NAME"};
        Serve(config);
        EXPECT_EQ(Code(m_comm.SendCommand(CMD_ESCAPE)), RES_OK);
        EXPECT_EQ(Code(m_comm.SendCommand(CMD_VERSION)), RES_VERSION);
        EXPECT_EQ(Code(m_comm.SendCommand(NameCommand("Bob"), CMD_NAME)), c.nameResult);
        EXPECT_EQ(Code(m_comm.SendCommand(CMD_INFO1)), RES_INFO1);
        EXPECT_EQ(Code(m_comm.SendCommand(CMD_DISCONNECT)), RES_OK);
        BdAddr peer;
        EXPECT_TRUE(WaitUntil([&] { return m_comm.WaitDisconnect(peer) == RES_DISCONNECT; }, 5s));
    }
}

// The window thread's reset may run while the worker reads the response
// setting; ThreadSanitizer watches what the two share.
TEST_F(TarnelCommSimTest, AResetFromAnotherThreadBesideTheResponseQuery) {
    SimConfig config;
    config.settings.quietMode = true;
    Serve(config);
    auto resets = std::async(std::launch::async, [this] {
        for (int i = 0; i < 5; ++i)
            m_comm.SendCommand(CMD_RESET);
    });
    for (int i = 0; i < 5; ++i) {
        uint8_t mode = 9;
        const int rc = m_comm.GetQuietMode(mode);
        EXPECT_TRUE(rc == RES_QM || rc == RES_TIMEOUT) << rc;
        if (rc == RES_QM) {
            EXPECT_EQ(mode, 1);
        }
    }
    resets.wait();
}

TEST_F(TarnelCommSimTest, ConnectionIsReportedToItsPoll) {
    Serve();
    m_sim->ConnectPeer(Addr("A1B2C3D4E5F6").bytes);
    BdAddr peer;
    ASSERT_TRUE(WaitUntil([&] { return m_comm.WaitConnection(peer) == RES_CONNECT; }, 5s));
    EXPECT_EQ(peer, Addr("A1B2C3D4E5F6"));
}

}  // namespace
