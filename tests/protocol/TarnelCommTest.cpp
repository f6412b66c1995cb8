#include "protocol/TarnelComm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/PtyPair.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using tarnel::test::PtyPair;
using tarnel::test::WaitUntil;
using Clock = std::chrono::steady_clock;

// One piece of a scripted reply: sent after a pause, so that it reaches the
// engine as a read of its own.
struct Piece {
    std::string bytes;
    std::chrono::milliseconds pauseBefore{0};
};

// Gives tests the receive buffer's size.
class ProbedComm : public TarnelComm {
public:
    std::size_t RxSize() {
        std::lock_guard lock(m_rxMutex);
        return m_rxBuf.size();
    }
    std::string RxBytes() {
        std::lock_guard lock(m_rxMutex);
        return {m_rxBuf.begin(), m_rxBuf.end()};
    }
};

class TarnelCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_comm.m_onReceive = [this](const TarnelComm*, const std::vector<uint8_t>& data) {
            m_received += data.size();
        };
        ASSERT_FALSE(m_comm.Open(m_pty.SlavePath(), 115200, 8, 0, 0, 0));
    }
    void TearDown() override { m_comm.Close(); }

    // Plays the module: waits for `command`, then sends the pieces.
    std::thread Peer(std::string command, std::vector<Piece> pieces) {
        return std::thread([this, command, pieces] {
            m_heard = m_pty.ReceiveUntil(command, 5s);
            for (const Piece& p : pieces) {
                std::this_thread::sleep_for(p.pauseBefore);
                m_pty.Send(p.bytes);
            }
        });
    }

    // Plays the module through several commands, each answered by its pieces.
    std::thread Script(std::vector<std::pair<std::string, std::vector<Piece>>> steps) {
        return std::thread([this, steps] {
            for (const auto& [command, pieces] : steps) {
                m_heard += m_pty.ReceiveUntil(command, 5s);
                for (const Piece& p : pieces) {
                    std::this_thread::sleep_for(p.pauseBefore);
                    m_pty.Send(p.bytes);
                }
            }
        });
    }

    ResultBlock Exchange(const std::string& command, int code, unsigned limitMs, std::vector<Piece> pieces) {
        std::thread peer = Peer(command, std::move(pieces));
        ResultBlock result = m_comm.SendCommand(command.data(), command.size(), code, limitMs);
        peer.join();
        return result;
    }

    PtyPair m_pty;
    ProbedComm m_comm;
    std::atomic<std::size_t> m_received{0};
    std::string m_heard;
};

struct ExchangeCase {
    const char* what;
    int code;
    std::vector<Piece> reply;
    int expected;
};

TEST_F(TarnelCommTest, RepliesEndCommandsAsFramed) {
    const std::string line255 = "\r\n+" + std::string(250, 'A') + "\r\n";
    const std::string line256 = "\r\n+" + std::string(251, 'A') + "\r\n";
    const ExchangeCase cases[] = {
        {"OK", 2, {{"\r\nOK\r\n"}}, RES_OK},
        {"ERROR", 2, {{"\r\nERROR\r\n"}}, RES_ERROR},
        {"OK without leading CR LF", 2, {{"OK\r\n"}}, RES_OK},
        {"split reply", 2, {{"\r\nO"}, {"K\r\n", 40ms}}, RES_OK},
        {"only CR LF first", 2, {{"\r\n"}, {"\r\nOK\r\n", 40ms}}, RES_OK},
        {"CR LF and one byte first", 2, {{"\r\nO"}, {"K", 30ms}, {"\r", 30ms}, {"\n", 30ms}}, RES_OK},
        {"blank lines", 2, {{"\r\n\r\n\r\nOK\r\n"}}, RES_OK},
        {"single character before CR LF", 2, {{"X\r\nOK\r\n"}}, RES_OK},
        {"unknown data line first", 2, {{"\r\n+VER,1.0\r\n"}, {"\r\nOK\r\n", 30ms}}, RES_OK},
        {"255-byte line is offered", 2, {{line255}, {"\r\nOK\r\n", 30ms}}, RES_OK},
        {"256-byte line", 2, {{line256}, {"\r\nOK\r\n", 30ms}}, RES_LINE_TOO_LONG},
        {"version then OK", 20, {{"\r\n+VER,1.0\r\n\r\nOK\r\n"}}, RES_VERSION},
        {"query ended by ERROR", 20, {{"\r\nERROR\r\n"}}, RES_ERROR},
    };
    for (const ExchangeCase& c : cases) {
        ResultBlock r = Exchange("AT\r", c.code, 3000, c.reply);
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(ResultCode(r.get()), c.expected) << c.what;
        EXPECT_EQ(m_heard, "AT\r") << c.what;
    }
}

TEST_F(TarnelCommTest, LinesThatEndNothingRunIntoTheTimeLimit) {
    const ExchangeCase cases[] = {
        {"no reply", 2, {}, RES_TIMEOUT},
        {"code without table entry", 99, {{"\r\nOK\r\n"}}, RES_TIMEOUT},
        {"query answered by OK alone", 20, {{"\r\nOK\r\n"}}, RES_TIMEOUT},
        {"malformed data line", 27, {{"\r\n+QM,x\r\n"}}, RES_TIMEOUT},
    };
    for (const ExchangeCase& c : cases) {
        const auto start = Clock::now();
        ResultBlock r = Exchange("AT\r", c.code, 300, c.reply);
        const auto elapsed = Clock::now() - start;
        EXPECT_EQ(ResultCode(r.get()), RES_TIMEOUT) << c.what;
        EXPECT_GE(elapsed, 300ms) << c.what;
        EXPECT_LT(elapsed, 2000ms) << c.what;  // the limit and a slice, with room for a loaded machine
    }
}

TEST_F(TarnelCommTest, DataLineCarriesItsRecord) {
    ResultBlock r =
        Exchange("AT+VER?\r", CMD_VERSION.code, 3000, {{"\r\n+VER,"}, {"2.5b\r\n\r\nOK\r\n", 30ms}});
    ASSERT_EQ(ResultCode(r.get()), RES_VERSION);
    EXPECT_EQ(PayloadLength(r.get()), TEXT_RECORD_SIZE);
    EXPECT_STREQ(reinterpret_cast<const char*>(Payload(r.get())), "2.5b");
}

TEST_F(TarnelCommTest, BytesFromBeforeTheCommandAreDiscarded) {
    m_pty.Send("\r\nOK\r\n");
    ASSERT_TRUE(WaitUntil([this] { return m_received >= 6; }, 5s));
    ResultBlock r = Exchange("AT\r", 2, 300, {});
    EXPECT_EQ(ResultCode(r.get()), RES_TIMEOUT);
}

TEST_F(TarnelCommTest, ReceiveBufferKeepsTheFirst1024Bytes) {
    std::string flood;
    for (int i = 0; i < 1500; ++i)
        flood.push_back(static_cast<char>('A' + i % 26));
    m_pty.Send(flood);
    ASSERT_TRUE(WaitUntil([this] { return m_received >= 1500; }, 5s));
    EXPECT_EQ(m_comm.RxSize(), 1024u);
    EXPECT_EQ(m_comm.RxBytes(), flood.substr(0, 1024));
}

TEST_F(TarnelCommTest, CloseFromAnotherThreadEndsAWaitingCommand) {
    auto pending =
        std::async(std::launch::async, [this] { return m_comm.SendCommand(CMD_AT.text, 3, 2, 20000); });
    ASSERT_EQ(m_pty.ReceiveUntil("AT\r", 5s), "AT\r");
    const auto start = Clock::now();
    m_comm.Close();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(ResultCode(pending.get().get()), RES_CLOSED);
    EXPECT_LT(Clock::now() - start, 2000ms);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_AT).get()), RES_NOT_OPEN);
}

TEST_F(TarnelCommTest, ClosedEngineSendsNothing) {
    m_pty.HoldSlave();
    m_comm.Close();
    EXPECT_FALSE(m_comm.IsOpen());
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_AT).get()), RES_NOT_OPEN);
    InquiryResult inq{};
    EXPECT_EQ(m_comm.WaitInquiryResult(inq), RES_NOT_OPEN);
    EXPECT_EQ(m_pty.ReceiveIdle(200ms), "");
}

TEST_F(TarnelCommTest, PollsReadOneBufferedLinePerStep) {
    const auto start = Clock::now();
    InquiryResult inq{};
    EXPECT_EQ(m_comm.WaitInquiryResult(inq), RES_INCOMPLETE);
    EXPECT_LT(Clock::now() - start, 1000ms);

    ResultBlock r =
        Exchange("AT+DISC\r", CMD_DISCONNECT.code, 3000,
                 {{"\r\nOK\r\n\r\n+DISC,0011223344AA\r\n\r\n+INQ,A1B2C3D4E5F6,1F00,-60,Phone\r\n"}});
    ASSERT_EQ(ResultCode(r.get()), RES_OK);
    BdAddr peer;
    ASSERT_TRUE(WaitUntil([&] { return m_comm.WaitDisconnect(peer) == RES_DISCONNECT; }, 5s));
    BdAddr expected;
    ASSERT_TRUE(ParseBdAddr("0011223344AA", expected));
    EXPECT_EQ(peer, expected);
    ASSERT_EQ(m_comm.WaitInquiryResult(inq), RES_INQUIRY);
    EXPECT_EQ(inq.rssi, -60);
    EXPECT_STREQ(inq.name, "Phone");
    EXPECT_EQ(m_comm.WaitInquiryResult(inq), RES_INCOMPLETE);
}

TEST_F(TarnelCommTest, PollLeavesTheRecordAloneOnOtherLines) {
    const std::string lines = "\r\nOK\r\n\r\n+CONN,0011223344AA\r\n";
    m_pty.Send(lines);
    ASSERT_TRUE(WaitUntil([&] { return m_received >= lines.size(); }, 5s));
    BdAddr peer;
    peer.bytes.fill(0x5A);
    EXPECT_EQ(m_comm.WaitDisconnect(peer), RES_NOT_MINE);  // OK does not end a disconnect poll
    EXPECT_EQ(m_comm.WaitDisconnect(peer), RES_NOT_MINE);  // nor does a connection report
    EXPECT_EQ(peer.bytes[0], 0x5A);
}

// The module sends a query's OK well after its data line, and pauses before
// each answer: no command may take the answer before its own. The response
// query before the first setting tells that the OK comes late; the first OK
// comes late enough that a loaded machine still sees the data line alone.
TEST_F(TarnelCommTest, ALateOkOfAQueryAnswersNoLaterCommand) {
    const std::string info = "\r\n+INFO1,0011223344AA,Bob,1,IDLE\r\n";
    std::thread peer = Script({{"AT+INFO1?\r", {{info}, {"\r\nOK\r\n", 500ms}}},
                               {"AT+QM?\r", {{"\r\n+QM,0\r\n"}, {"\r\nOK\r\n", 150ms}}},
                               {"AT+NAME=Bob\r", {{"\r\nOK\r\n", 150ms}}},
                               {"AT+OPMODE=1\r", {{"\r\nERROR\r\n", 150ms}}},
                               {"AT+VER?\r", {{"\r\n+VER,1.0\r\n"}, {"\r\nOK\r\n", 300ms}}},
                               {"AT+VER?\r", {{"\r\n+VER,1.1\r\n"}, {"\r\nOK\r\n", 300ms}}},
                               {"AT+QM=0\r", {{"\r\nERROR\r\n"}}}});
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_INFO1).get()), RES_INFO1);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(NameCommand("Bob"), CMD_NAME).get()), RES_OK);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(OpModeCommand(1), CMD_OPMODE).get()), RES_ERROR);
    // A query after a query: the first one's OK is no answer to either.
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_VERSION).get()), RES_VERSION);
    ResultBlock version = m_comm.SendCommand(CMD_VERSION);
    EXPECT_STREQ(reinterpret_cast<const char*>(Payload(version.get())), "1.1");
    EXPECT_EQ(m_comm.SetQuietMode(0), RES_ERROR);
    peer.join();
}

// A module without an OK after its data lines: the response query before
// the first command that ends on OK learns that, and is needed once.
TEST_F(TarnelCommTest, AModuleWithoutOkAfterDataIsLearntOnce) {
    const std::string version = "\r\n+VER,1.0\r\n";
    std::thread peer = Script({{"AT+VER?\r", {{version}}},
                               {"AT+QM?\r", {{"\r\n+QM,0\r\n"}}},
                               {"AT\r", {{"\r\nOK\r\n"}}},
                               {"AT+VER?\r", {{version}}},
                               {"AT+QM=0\r", {{"\r\nERROR\r\n"}}},
                               {"AT+VER?\r", {{version}}},
                               {"AT\r", {{"\r\nOK\r\n"}}}});
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_VERSION).get()), RES_VERSION);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_AT).get()), RES_OK);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_VERSION).get()), RES_VERSION);
    EXPECT_EQ(m_comm.SetQuietMode(0), RES_ERROR);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_VERSION).get()), RES_VERSION);
    const auto start = Clock::now();
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_AT).get()), RES_OK);
    EXPECT_LT(Clock::now() - start, 600ms);  // far from the query's 1200 ms limit
    peer.join();

    // Opened again on the same port (as after Apply), the engine still knows.
    m_comm.Close();
    ASSERT_FALSE(m_comm.Open(m_pty.SlavePath(), 115200, 8, 0, 0, 0));
    peer = Script({{"AT+VER?\r", {{version}}}, {"AT\r", {{"\r\nOK\r\n"}}}});
    const auto reopened = Clock::now();
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_VERSION).get()), RES_VERSION);
    EXPECT_EQ(ResultCode(m_comm.SendCommand(CMD_AT).get()), RES_OK);
    EXPECT_LT(Clock::now() - reopened, 600ms);
    peer.join();
}

// Reports come while the inquiry command still waits; the command ends on an
// acknowledging OK or on the first report, and every report reaches the polls.
TEST_F(TarnelCommTest, InquiryReportsDuringTheCommandReachThePolls) {
    const std::string first = "\r\n+INQ,0A0B0C0D0E0F,5A020C,-60,First\r\n";
    const std::string second = "\r\n+INQ,112233445566,1F00,-70,Second\r\n";
    for (bool acknowledged : {false, true}) {
        SCOPED_TRACE(acknowledged);
        std::vector<Piece> pieces = {{first, 100ms}, {second, 100ms}, {"\r\nOK\r\n", 100ms}};
        if (acknowledged) pieces.insert(pieces.begin(), Piece{"\r\nOK\r\n"});
        std::thread peer = Peer("AT+INQ=60,1\r", pieces);
        const int started = ResultCode(
            m_comm.SendCommand(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), CMD_INQUIRY).get());
        EXPECT_EQ(started, acknowledged ? RES_OK : RES_INQUIRY);
        std::vector<std::string> names;
        int rc = RES_INCOMPLETE;
        ASSERT_TRUE(WaitUntil(
            [&] {
                InquiryResult r{};
                rc = m_comm.WaitInquiryResult(r);
                if (rc == RES_INQUIRY) names.emplace_back(r.name);
                return rc == RES_OK || rc == RES_CLOSED;
            },
            5s));
        peer.join();
        EXPECT_EQ(rc, RES_OK);
        EXPECT_EQ(names, (std::vector<std::string>{"First", "Second"}));
    }
}

TEST_F(TarnelCommTest, ACommandTooLongForTheModuleIsNotSent) {
    EXPECT_EQ(ResultCode(m_comm.SendCommand(NameCommand(std::string(119, 'n')), CMD_NAME).get()),
              RES_COMMAND_TOO_LONG);
    EXPECT_EQ(m_pty.ReceiveIdle(200ms), "");
}

// A poll waits for a running command no longer than that command's limit.
TEST_F(TarnelCommTest, APollGivesUpOnACommandThatOverrunsItsLimit) {
    std::atomic<bool> sending{false};
    m_comm.m_onSend = [&sending](const TarnelComm*, std::vector<char>&) {
        sending = true;
        std::this_thread::sleep_for(600ms);
    };
    auto command = std::async(std::launch::async, [this] { return m_comm.SendCommand("AT\r", 3, 2, 0); });
    ASSERT_TRUE(WaitUntil([&] { return sending.load(); }, 5s));
    InquiryResult inq{};
    inq.rssi = 5;
    EXPECT_EQ(m_comm.WaitInquiryResult(inq), RES_TIMEOUT);
    EXPECT_EQ(inq.rssi, 5);
    command.wait();
}

// A trace of the sent commands lists each before its answer only when the
// send is observed before the command leaves.
TEST_F(TarnelCommTest, ACommandIsObservedBeforeItLeaves) {
    std::string alreadyOut = "not observed";
    m_comm.m_onSend = [this, &alreadyOut](const TarnelComm*, std::vector<char>&) {
        alreadyOut = m_pty.ReceiveIdle(50ms);
    };
    m_comm.SendCommand("AT\r", 3, CMD_AT.code, 0);
    EXPECT_EQ(alreadyOut, "");
}

TEST_F(TarnelCommTest, QuietModeWrappers) {
    std::thread peer = Peer("AT+QM?\r", {{"\r\n+QM,1\r\n\r\nOK\r\n"}});
    uint8_t mode = 7;
    EXPECT_EQ(m_comm.GetQuietMode(mode), RES_QM);
    peer.join();
    EXPECT_EQ(mode, 1);

    peer = Peer("AT+QM=0\r", {{"\r\nERROR\r\n"}});
    EXPECT_EQ(m_comm.SetQuietMode(0), RES_ERROR);
    peer.join();
    EXPECT_EQ(m_heard, "AT+QM=0\r");
}

// The window thread's reset can come while the worker's command waits: the
// reset must not go out, nor disturb the other command's buffers, until that
// command has its result.
TEST_F(TarnelCommTest, SecondCallerWaitsForTheRunningCommand) {
    std::future<ResultBlock> reset;
    std::thread peer([&] {
        m_heard = m_pty.ReceiveUntil("AT+VER?\r", 5s);
        reset = std::async(std::launch::async, [this] { return m_comm.SendCommand(CMD_RESET); });
        std::this_thread::sleep_for(200ms);  // room for a wrongly admitted reset to go out
        m_heard += m_pty.ReceiveIdle(50ms);
        m_pty.Send("\r\n+VER,1.0\r\n\r\nOK\r\n");
        m_heard += m_pty.ReceiveUntil("ATZ\r", 5s);
        m_pty.Send("\r\nOK\r\n");
    });
    ResultBlock version = m_comm.SendCommand(CMD_VERSION);
    peer.join();
    EXPECT_EQ(ResultCode(version.get()), RES_VERSION);
    EXPECT_EQ(m_heard, "AT+VER?\rATZ\r");
    ASSERT_EQ(reset.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(ResultCode(reset.get().get()), RES_OK);
}

TEST_F(TarnelCommTest, CloseReleasesACallerWaitingForTheEngine) {
    auto first = std::async(std::launch::async, [this] { return m_comm.SendCommand("AT\r", 3, 2, 20000); });
    ASSERT_EQ(m_pty.ReceiveUntil("AT\r", 5s), "AT\r");
    auto second = std::async(std::launch::async, [this] { return m_comm.SendCommand("ATZ\r", 4, 3, 20000); });
    m_comm.Close();
    ASSERT_EQ(first.wait_for(5s), std::future_status::ready);
    ASSERT_EQ(second.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(ResultCode(first.get().get()), RES_CLOSED);
    const int secondCode = ResultCode(second.get().get());
    // Closed while waiting for the engine, or (had it not reached the engine yet) not open.
    EXPECT_TRUE(secondCode == RES_CLOSED || secondCode == RES_NOT_OPEN) << secondCode;
}

TEST(TarnelCommOpen, FailedOpenChangesNothing) {
    TarnelComm comm;
    const int before = g_openEngines;
    EXPECT_TRUE(comm.Open("/dev/nonexistent-tarnel-port", 9600, 8, 0, 0, 0));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(g_openEngines, before);
    EXPECT_EQ(ResultCode(comm.SendCommand(CMD_AT).get()), RES_NOT_OPEN);
    comm.Close();
    EXPECT_EQ(g_openEngines, before);
}

TEST(TarnelCommOpen, ReadErrorReachesTheObserver) {
    PtyPair pty;
    TarnelComm comm;
    std::atomic<int> errors{0};
    comm.m_onError = [&errors](const TarnelComm*, std::error_code& e) {
        if (e) ++errors;
    };
    ASSERT_FALSE(comm.Open(pty.SlavePath(), 9600, 8, 0, 0, 0));
    pty.Unplug();
    EXPECT_TRUE(WaitUntil([&] { return errors > 0; }, 5s));
    EXPECT_TRUE(comm.IsOpen());  // reading stopped; the owner closes
    comm.Close();
    EXPECT_EQ(g_openEngines, 0);
}

// Without an observer the engine closes its channel itself; its Close must
// still stop the executor, or the next Open would find no worker to serve it.
TEST(TarnelCommOpen, ReopenAfterUnobservedReadError) {
    TarnelComm comm;
    {
        PtyPair pty;
        ASSERT_FALSE(comm.Open(pty.SlavePath(), 9600, 8, 0, 0, 0));
        pty.Unplug();
        ASSERT_TRUE(WaitUntil([&] { return !comm.IsOpen(); }, 5s));
        comm.Close();
    }
    EXPECT_EQ(g_openEngines, 0);
    PtyPair pty;
    ASSERT_FALSE(comm.Open(pty.SlavePath(), 9600, 8, 0, 0, 0));
    std::thread peer([&] {
        pty.ReceiveUntil("AT\r", 5s);
        pty.Send("\r\nOK\r\n");
    });
    EXPECT_EQ(ResultCode(comm.SendCommand(CMD_AT).get()), RES_OK);
    peer.join();
    comm.Close();
}

// An owner that forgets to close must not leave the channel's pending read
// calling back into the destroyed engine, nor the executor counted as in use.
TEST(TarnelCommOpen, DestroyingAnOpenEngineClosesIt) {
    PtyPair pty;
    {
        TarnelComm comm;
        ASSERT_FALSE(comm.Open(pty.SlavePath(), 9600, 8, 0, 0, 0));
    }
    EXPECT_EQ(g_openEngines, 0);
    pty.Send("\r\nOK\r\n");
}

}  // namespace
