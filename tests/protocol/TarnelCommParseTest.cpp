// The response handlers, driven through the engine's dispatch: a line in,
// a result block out.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "protocol/TarnelComm.h"

namespace {

using Payload_t = std::vector<uint8_t>;

BdAddr Addr(const std::string& text) {
    BdAddr addr;
    EXPECT_TRUE(ParseBdAddr(text, addr)) << text;
    return addr;
}

template <typename Record>
Payload_t Raw(const Record& record) {
    Payload_t bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

Payload_t Text64(const std::string& text) {
    Payload_t bytes(TEXT_RECORD_SIZE, 0);
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

Payload_t Info(const std::string& addr, const std::string& name, uint8_t opMode, uint8_t state) {
    DeviceInfo info{};
    info.addr = Addr(addr);
    std::memcpy(info.name, name.data(), name.size());
    info.opMode = opMode;
    info.state = state;
    return Raw(info);
}

Payload_t Inquiry(const std::string& addr, int8_t rssi, uint32_t cod, const std::string& name) {
    InquiryResult rec{};
    rec.addr = Addr(addr);
    rec.rssi = rssi;
    rec.classOfDevice = cod;
    std::memcpy(rec.name, name.data(), name.size());
    return Raw(rec);
}

Payload_t DeviceLine(const std::string& addr, const std::string& name, uint8_t mode, uint8_t link, uint8_t f1,
                     uint8_t f2, uint8_t flow) {
    DeviceLineRecord rec{};
    rec.addr = Addr(addr);
    std::memcpy(rec.name, name.data(), name.size());
    rec.mode = mode;
    rec.linkState = link;
    rec.flag1 = f1;
    rec.flag2 = f2;
    rec.flow = flow;
    return Raw(rec);
}

Payload_t Info2(std::initializer_list<uint8_t> flags) {
    Payload_t bytes(INFO2_RECORD_SIZE, 0);
    std::copy(flags.begin(), flags.end(), bytes.begin());
    return bytes;
}

struct ParseCase {
    const char* what;
    int code;
    std::string line;
    int expected;
    Payload_t payload;  // checked when `expected` carries a record
};

const std::string ADDR = "0011223344AA";
const std::string NAME40 = std::string(40, 'n');
const std::string NAME70 = std::string(70, 'm');

std::vector<ParseCase> Cases() {
    return {
        {"OK framed", 2, "\r\nOK\r\n", RES_OK, {}},
        {"OK bare", 2, "OK\r", RES_OK, {}},
        {"+OK", 2, "+OK\r", RES_OK, {}},
        {"OK without CR", 2, "OK", RES_NOT_MINE, {}},
        {"OK in lower case", 2, "\r\nok\r\n", RES_NOT_MINE, {}},
        {"OKAY", 2, "OKAY\r", RES_NOT_MINE, {}},
        {"ERROR framed", 2, "\r\nERROR\r\n", RES_ERROR, {}},
        {"ERROR bare", 2, "ERROR\r", RES_ERROR, {}},
        {"+ERROR", 2, "+ERROR\r", RES_ERROR, {}},
        {"empty line", 2, "", RES_NOT_MINE, {}},

        {"model name", 6, "\r\n+MODELNAME,TARNEL-BT1\r\n", RES_MODELNAME, Text64("TARNEL-BT1")},
        {"model name keeps commas", 6, "\r\n+MODELNAME,A,B\r\n", RES_MODELNAME, Text64("A,B")},
        {"model name cut", 6, "\r\n+MODELNAME," + NAME70 + "\r\n", RES_MODELNAME,
         Text64(NAME70.substr(0, 63))},
        {"model name with NUL", 6, std::string("\r\n+MODELNAME,A\0B\r\n", 18), RES_MODELNAME,
         Text64(std::string("A\0B", 3))},
        {"model name without CR LF", 6, "+MODELNAME,X\r", RES_NOT_MINE, {}},
        {"model name keyword longer", 6, "\r\n+MODELNAMES,X\r\n", RES_NOT_MINE, {}},
        {"model name unterminated", 6, "\r\n+MODELNAME,X", RES_NOT_MINE, {}},

        {"version", 20, "\r\n+VER,1.0\r\n", RES_VERSION, Text64("1.0")},
        {"version empty", 20, "\r\n+VER,\r\n", RES_VERSION, Text64("")},
        {"version needs CR LF", 20, "\r\n+VER,1.0\r", RES_NOT_MINE, {}},

        {"info1", 8, "\r\n+INFO1,0011223344AA,Bob,1,IDLE\r\n", RES_INFO1, Info(ADDR, "Bob", 1, 0)},
        {"info1 connecting", 8, "\r\n+INFO1,0011223344AA,Bob,1,CONNECTING\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 3)},
        {"info1 inquiring", 8, "\r\n+INFO1,0011223344AA,Bob,1,INQUIRING\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 2)},
        {"info1 lower-case address", 8, "\r\n+INFO1,0011223344aa,Bob,1,IDLE\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 0)},
        {"info1 name cut", 8, "\r\n+INFO1,0011223344AA," + NAME40 + ",3,CONNECTED\r\n", RES_INFO1,
         Info(ADDR, NAME40.substr(0, 32), 3, 4)},
        {"info1 blank before mode", 8, "\r\n+INFO1,0011223344AA,Bob, 2,IDLE\r\n", RES_INFO1,
         Info(ADDR, "Bob", 2, 0)},
        {"info1 11-digit address", 8, "\r\n+INFO1,0011223344A,Bob,1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 13-digit address", 8, "\r\n+INFO1,0011223344AAB,Bob,1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode 4", 8, "\r\n+INFO1,0011223344AA,Bob,4,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode -1", 8, "\r\n+INFO1,0011223344AA,Bob,-1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode overflows", 8, "\r\n+INFO1,0011223344AA,Bob,4294967297,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 state lower case", 8, "\r\n+INFO1,0011223344AA,Bob,1,idle\r\n", RES_NOT_MINE, {}},
        {"info1 without CR LF", 8, "+INFO1,0011223344AA,Bob,1,IDLE\r", RES_NOT_MINE, {}},
        {"info1 field missing", 8, "\r\n+INFO1,0011223344AA,Bob,1\r\n", RES_NOT_MINE, {}},
        {"info1 empty fields", 8, "\r\n+INFO1,,,,\r\n", RES_NOT_MINE, {}},

        {"info2", 9, "\r\n+INFO2,1,0,0,1,1\r\n", RES_INFO2, Info2({1, 0, 0, 1, 1})},
        {"info2 flag 2", 9, "\r\n+INFO2,1,0,2,1,1\r\n", RES_NOT_MINE, {}},
        {"info2 four flags", 9, "\r\n+INFO2,1,0,0,1\r\n", RES_NOT_MINE, {}},
        {"info2 needs CR LF", 9, "\r\n+INFO2,1,0,0,1,1\r", RES_NOT_MINE, {}},

        {"quiet mode 1", 27, "\r\n+QM,1\r\n", RES_QM, {1}},
        {"quiet mode 0", 27, "\r\n+QM,0\r\n", RES_QM, {0}},
        {"quiet mode x", 27, "\r\n+QM,x\r\n", RES_NOT_MINE, {}},
        {"quiet mode 2", 27, "\r\n+QM,2\r\n", RES_NOT_MINE, {}},
        {"quiet mode reading stops after digits", 27, "\r\n+QM,1x\r\n", RES_QM, {1}},

        {"atcm", 12, "\r\n+ATCM,2\r\n", RES_ATCM, Raw(int32_t{2})},
        {"atcm 3", 12, "\r\n+ATCM,3\r\n", RES_NOT_MINE, {}},
        {"mfrmode", 10, "\r\n+MFRMODE,2\r\n", RES_MFRMODE, {2}},
        {"mfrmode second form", 11, "\r\n+MFRMODE,1\r\n", RES_MFRMODE_2, {1}},
        {"mfrmode 3", 10, "\r\n+MFRMODE,3\r\n", RES_NOT_MINE, {}},
        {"cmbda", 16, "\r\n+CMBDA,0011223344AA\r\n", RES_CMBDA, Raw(Addr(ADDR))},
        {"mfrbda", 18, "\r\n+MFRBDA,0011223344AA\r\n", RES_MFRBDA, Raw(Addr(ADDR))},
        {"mfrbda bad digit", 18, "\r\n+MFRBDA,00112233440G\r\n", RES_NOT_MINE, {}},

        {"inquiry", 22, "\r\n+INQ,0011223344AA,FFFFFF,-60,Phone\r\n", RES_INQUIRY,
         Inquiry(ADDR, int8_t(0xC4 - 256), 0xFFFFFF, "Phone")},
        {"inquiry 0x class", 22, "\r\n+INQ,0011223344AA,0x5A020C,-1,P\r\n", RES_INQUIRY,
         Inquiry(ADDR, -1, 0x5A020C, "P")},
        {"inquiry low 8 bits of strength", 22, "\r\n+INQ,0011223344AA,1F00,456,P\r\n", RES_INQUIRY,
         Inquiry(ADDR, int8_t(456 - 512), 0x1F00, "P")},
        {"inquiry name cut", 22, "\r\n+INQ,0011223344AA,0,-60," + NAME70 + "\r\n", RES_INQUIRY,
         Inquiry(ADDR, -60, 0, NAME70.substr(0, 63))},
        {"inquiry class too big", 22, "\r\n+INQ,0011223344AA,1000000,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry class negative", 22, "\r\n+INQ,0011223344AA,-1,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry class overflows", 22, "\r\n+INQ,0011223344AA,100000000,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry class not hex", 22, "\r\n+INQ,0011223344AA,ZZ,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry strength missing", 22, "\r\n+INQ,0011223344AA,1F00,,P\r\n", RES_NOT_MINE, {}},

        {"connect", 24, "\r\n+CONN,0011223344AA\r\n", RES_CONNECT, Raw(Addr(ADDR))},
        {"connect on code 35", 35, "\r\n+CONN,0011223344AA\r\n", RES_CONNECT, Raw(Addr(ADDR))},
        {"connect needs CR LF", 24, "\r\n+CONN,0011223344AA\r", RES_NOT_MINE, {}},
        {"disconnect", 37, "\r\n+DISC,0011223344AA\r\n", RES_DISCONNECT, Raw(Addr(ADDR))},
        {"target", 25, "\r\n+TADDR,0011223344AA\r\n", RES_TADDR, Raw(Addr(ADDR))},
        {"target 11 digits", 25, "\r\n+TADDR,0011223344A\r\n", RES_NOT_MINE, {}},
        {"target on another code", 26, "\r\n+TADDR,0011223344AA\r\n", RES_NOT_MINE, {}},

        {"device line", 7, "\r\n0011223344AA,Dev,MODE2,PENDING,1,0,HWFC\r\n", RES_DEVICE_LINE,
         DeviceLine(ADDR, "Dev", 2, 1, 1, 0, 1)},
        {"device line bare", 7, "0011223344AA,Dev,MODE0,STANDBY,0,1,NoFC\r", RES_DEVICE_LINE,
         DeviceLine(ADDR, "Dev", 0, 0, 0, 1, 0)},
        {"device line name cut", 7, "\r\n0011223344AA," + NAME40 + ",MODE3,CONNECT,0,0,NoFC\r\n",
         RES_DEVICE_LINE, DeviceLine(ADDR, NAME40.substr(0, 32), 3, 2, 0, 0, 0)},
        {"device line MODE4", 7, "\r\n0011223344AA,Dev,MODE4,PENDING,1,0,HWFC\r\n", RES_NOT_MINE, {}},
        {"device line flow lower case",
         7,
         "\r\n0011223344AA,Dev,MODE2,PENDING,1,0,hwfc\r\n",
         RES_NOT_MINE,
         {}},
        {"device line flag 2", 7, "\r\n0011223344AA,Dev,MODE2,PENDING,2,0,HWFC\r\n", RES_NOT_MINE, {}},
        {"device line short", 7, "\r\n0011223344AA,Dev,MODE2\r\n", RES_NOT_MINE, {}},
        {"device line no comma", 7, "\r\n0011223344AA\r\n", RES_NOT_MINE, {}},
    };
}

bool CarriesRecord(int code) {
    return code >= RES_VERSION;
}

TEST(TarnelCommParse, LinesToBlocks) {
    TarnelComm comm;
    for (const ParseCase& c : Cases()) {
        auto block = comm.DispatchLine(std::vector<char>(c.line.begin(), c.line.end()), c.code);
        ASSERT_TRUE(block) << c.what;
        EXPECT_EQ(ResultCode(block.get()), c.expected) << c.what;
        if (!CarriesRecord(c.expected)) continue;
        const Payload_t payload(Payload(block.get()), Payload(block.get()) + PayloadLength(block.get()));
        EXPECT_EQ(payload, c.payload) << c.what;
    }
}

// Which of the plain answers end a command of each code, in table order.
struct CodeCase {
    int code;
    bool endsOnOk;
    bool endsOnError;
};

TEST(TarnelCommParse, OkAndErrorPerCommandCode) {
    const CodeCase codes[] = {
        {2, true, true},   {3, true, true},  {4, true, true},   {6, false, true},  {8, false, true},
        {9, false, true},  {7, false, true}, {12, false, true}, {13, true, true},  {10, false, true},
        {11, false, true}, {14, true, true}, {15, true, true},  {16, false, true}, {17, true, true},
        {18, false, true}, {19, true, true}, {20, false, true}, {21, true, true},  {22, true, false},
        {23, true, true},  {24, true, true}, {25, false, true}, {26, true, true},  {27, false, true},
        {28, true, true},  {29, true, true}, {30, true, true},  {32, true, true},  {33, true, true},
        {34, true, true},  {35, true, true}, {36, true, true},  {37, false, true},
    };
    TarnelComm comm;
    const std::string ok = "\r\nOK\r\n";
    const std::string error = "\r\nERROR\r\n";
    for (const CodeCase& c : codes) {
        EXPECT_EQ(ResultCode(comm.DispatchLine({ok.begin(), ok.end()}, c.code).get()),
                  c.endsOnOk ? RES_OK : RES_NOT_MINE)
            << "code " << c.code;
        EXPECT_EQ(ResultCode(comm.DispatchLine({error.begin(), error.end()}, c.code).get()),
                  c.endsOnError ? RES_ERROR : RES_NOT_MINE)
            << "code " << c.code;
    }
    EXPECT_EQ(ResultCode(comm.DispatchLine({ok.begin(), ok.end()}, 31).get()), RES_NOT_MINE);
}

// Bluetooth names run to 248 bytes: such a report is longer than other lines
// may be, and keeps what its record holds, cut before a split character.
TEST(TarnelCommParse, AnInquiryReportWithTheLongestNameIsRead) {
    std::string korean = "A";
    for (int i = 0; i < 83; ++i)
        korean += "\xED\x95\x9C";
    ASSERT_EQ(korean.size(), 250u);
    const std::string line = "\r\n+INQ,0A0B0C0D0E0F,5A020C,-128," + korean + "\r\n";
    TarnelComm comm;
    for (int code : {CMD_INQUIRY.code, POLL_INQUIRY_CODE}) {
        ResultBlock block = comm.DispatchLine({line.begin(), line.end()}, code);
        ASSERT_EQ(ResultCode(block.get()), RES_INQUIRY) << code;
        InquiryResult rec{};
        CopyPayload(block.get(), rec);
        EXPECT_EQ(std::string(rec.name), korean.substr(0, 61)) << code;
    }
    const std::string other = "\r\n+VER," + korean + "\r\n";
    EXPECT_EQ(ResultCode(comm.DispatchLine({other.begin(), other.end()}, CMD_VERSION.code).get()),
              RES_LINE_TOO_LONG);
}

// The table's shape: the entries in order with their number of handlers.
class TableView : public TarnelComm {
public:
    std::vector<std::pair<int, std::size_t>> Shape() const {
        std::vector<std::pair<int, std::size_t>> shape;
        for (const ResponseEntry& e : m_responseTable)
            shape.emplace_back(e.commandCode, e.handlers.size());
        return shape;
    }
};

TEST(TarnelCommParse, TableHasItsEntriesInOrder) {
    const std::vector<std::pair<int, std::size_t>> expected = {
        {2, 2},  {3, 2},  {4, 2},  {6, 2},  {8, 2},  {9, 2},  {7, 2},  {12, 2}, {13, 2},
        {10, 2}, {11, 2}, {14, 2}, {15, 2}, {16, 2}, {17, 2}, {18, 2}, {19, 2}, {20, 2},
        {21, 3}, {22, 2}, {23, 2}, {24, 3}, {25, 2}, {26, 2}, {27, 2}, {28, 2}, {29, 2},
        {30, 2}, {32, 2}, {33, 2}, {34, 2}, {35, 3}, {36, 2}, {37, 2},
    };
    EXPECT_EQ(TableView().Shape(), expected);
}

}  // namespace
