#include "protocol/ResponseParsers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "protocol/PayloadRecords.h"

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
    ResponseParser parse;
    std::string line;
    int expected;
    Payload_t payload;  // checked when `expected` carries a record
};

const std::string ADDR = "0011223344AA";
const std::string NAME40 = std::string(40, 'n');
const std::string NAME70 = std::string(70, 'm');

std::vector<ParseCase> Cases() {
    return {
        {"OK framed", ParseOk, "\r\nOK\r\n", RES_OK, {}},
        {"OK bare", ParseOk, "OK\r", RES_OK, {}},
        {"+OK", ParseOk, "+OK\r", RES_OK, {}},
        {"OK without CR", ParseOk, "OK", RES_NOT_MINE, {}},
        {"OK in lower case", ParseOk, "\r\nok\r\n", RES_NOT_MINE, {}},
        {"OKAY", ParseOk, "OKAY\r", RES_NOT_MINE, {}},
        {"ERROR framed", ParseError, "\r\nERROR\r\n", RES_ERROR, {}},
        {"ERROR bare", ParseError, "ERROR\r", RES_ERROR, {}},
        {"+ERROR", ParseError, "+ERROR\r", RES_ERROR, {}},
        {"ERROR without CR", ParseError, "ERROR", RES_NOT_MINE, {}},
        {"OK is no ERROR", ParseError, "\r\nOK\r\n", RES_NOT_MINE, {}},
        {"empty line", ParseOk, "", RES_NOT_MINE, {}},
        {"empty line to ERROR", ParseError, "", RES_NOT_MINE, {}},

        {"model name", ParseModelName, "\r\n+MODELNAME,TARNEL-BT1\r\n", RES_MODELNAME, Text64("TARNEL-BT1")},
        {"model name keeps commas", ParseModelName, "\r\n+MODELNAME,A,B\r\n", RES_MODELNAME, Text64("A,B")},
        {"model name cut", ParseModelName, "\r\n+MODELNAME," + NAME70 + "\r\n", RES_MODELNAME,
         Text64(NAME70.substr(0, 63))},
        {"model name with NUL", ParseModelName, std::string("\r\n+MODELNAME,A\0B\r\n", 18), RES_MODELNAME,
         Text64(std::string("A\0B", 3))},
        {"model name without CR LF", ParseModelName, "+MODELNAME,X\r", RES_NOT_MINE, {}},
        {"model name keyword longer", ParseModelName, "\r\n+MODELNAMES,X\r\n", RES_NOT_MINE, {}},
        {"model name unterminated", ParseModelName, "\r\n+MODELNAME,X", RES_NOT_MINE, {}},

        {"version", ParseVersion, "\r\n+VER,1.0\r\n", RES_VERSION, Text64("1.0")},
        {"version empty", ParseVersion, "\r\n+VER,\r\n", RES_VERSION, Text64("")},
        {"version needs CR LF", ParseVersion, "\r\n+VER,1.0\r", RES_NOT_MINE, {}},

        {"info1", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,1,IDLE\r\n", RES_INFO1, Info(ADDR, "Bob", 1, 0)},
        {"info1 connecting", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,1,CONNECTING\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 3)},
        {"info1 inquiring", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,1,INQUIRING\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 2)},
        {"info1 lower-case address", ParseInfo1, "\r\n+INFO1,0011223344aa,Bob,1,IDLE\r\n", RES_INFO1,
         Info(ADDR, "Bob", 1, 0)},
        {"info1 name cut", ParseInfo1, "\r\n+INFO1,0011223344AA," + NAME40 + ",3,CONNECTED\r\n", RES_INFO1,
         Info(ADDR, NAME40.substr(0, 32), 3, 4)},
        {"info1 blank before mode", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob, 2,IDLE\r\n", RES_INFO1,
         Info(ADDR, "Bob", 2, 0)},
        {"info1 11-digit address", ParseInfo1, "\r\n+INFO1,0011223344A,Bob,1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 13-digit address", ParseInfo1, "\r\n+INFO1,0011223344AAB,Bob,1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode 4", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,4,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode -1", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,-1,IDLE\r\n", RES_NOT_MINE, {}},
        {"info1 mode overflows",
         ParseInfo1,
         "\r\n+INFO1,0011223344AA,Bob,4294967297,IDLE\r\n",
         RES_NOT_MINE,
         {}},
        {"info1 state lower case", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,1,idle\r\n", RES_NOT_MINE, {}},
        {"info1 without CR LF", ParseInfo1, "+INFO1,0011223344AA,Bob,1,IDLE\r", RES_NOT_MINE, {}},
        {"info1 field missing", ParseInfo1, "\r\n+INFO1,0011223344AA,Bob,1\r\n", RES_NOT_MINE, {}},
        {"info1 empty fields", ParseInfo1, "\r\n+INFO1,,,,\r\n", RES_NOT_MINE, {}},

        {"info2", ParseInfo2, "\r\n+INFO2,1,0,0,1,1\r\n", RES_INFO2, Info2({1, 0, 0, 1, 1})},
        {"info2 flag 2", ParseInfo2, "\r\n+INFO2,1,0,2,1,1\r\n", RES_NOT_MINE, {}},
        {"info2 four flags", ParseInfo2, "\r\n+INFO2,1,0,0,1\r\n", RES_NOT_MINE, {}},
        {"info2 needs CR LF", ParseInfo2, "\r\n+INFO2,1,0,0,1,1\r", RES_NOT_MINE, {}},

        {"quiet mode 1", ParseQuietMode, "\r\n+QM,1\r\n", RES_QM, {1}},
        {"quiet mode 0", ParseQuietMode, "\r\n+QM,0\r\n", RES_QM, {0}},
        {"quiet mode x", ParseQuietMode, "\r\n+QM,x\r\n", RES_NOT_MINE, {}},
        {"quiet mode 2", ParseQuietMode, "\r\n+QM,2\r\n", RES_NOT_MINE, {}},
        {"quiet mode reading stops after digits", ParseQuietMode, "\r\n+QM,1x\r\n", RES_QM, {1}},

        {"atcm", ParseAtcm, "\r\n+ATCM,2\r\n", RES_ATCM, Raw(int32_t{2})},
        {"atcm 3", ParseAtcm, "\r\n+ATCM,3\r\n", RES_NOT_MINE, {}},
        {"mfrmode", ParseMfrMode, "\r\n+MFRMODE,2\r\n", RES_MFRMODE, {2}},
        {"mfrmode second form", ParseMfrMode2, "\r\n+MFRMODE,1\r\n", RES_MFRMODE_2, {1}},
        {"mfrmode 3", ParseMfrMode, "\r\n+MFRMODE,3\r\n", RES_NOT_MINE, {}},
        {"cmbda", ParseCmbda, "\r\n+CMBDA,0011223344AA\r\n", RES_CMBDA, Raw(Addr(ADDR))},
        {"mfrbda", ParseMfrbda, "\r\n+MFRBDA,0011223344AA\r\n", RES_MFRBDA, Raw(Addr(ADDR))},
        {"mfrbda bad digit", ParseMfrbda, "\r\n+MFRBDA,00112233440G\r\n", RES_NOT_MINE, {}},

        {"inquiry", ParseInquiry, "\r\n+INQ,0011223344AA,FFFFFF,-60,Phone\r\n", RES_INQUIRY,
         Inquiry(ADDR, int8_t(0xC4 - 256), 0xFFFFFF, "Phone")},
        {"inquiry 0x class", ParseInquiry, "\r\n+INQ,0011223344AA,0x5A020C,-1,P\r\n", RES_INQUIRY,
         Inquiry(ADDR, -1, 0x5A020C, "P")},
        {"inquiry low 8 bits of strength", ParseInquiry, "\r\n+INQ,0011223344AA,1F00,456,P\r\n", RES_INQUIRY,
         Inquiry(ADDR, int8_t(456 - 512), 0x1F00, "P")},
        {"inquiry name cut", ParseInquiry, "\r\n+INQ,0011223344AA,0,-60," + NAME70 + "\r\n", RES_INQUIRY,
         Inquiry(ADDR, -60, 0, NAME70.substr(0, 63))},
        {"inquiry class too big", ParseInquiry, "\r\n+INQ,0011223344AA,1000000,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry class negative", ParseInquiry, "\r\n+INQ,0011223344AA,-1,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry class overflows",
         ParseInquiry,
         "\r\n+INQ,0011223344AA,100000000,-60,P\r\n",
         RES_NOT_MINE,
         {}},
        {"inquiry class not hex", ParseInquiry, "\r\n+INQ,0011223344AA,ZZ,-60,P\r\n", RES_NOT_MINE, {}},
        {"inquiry strength missing", ParseInquiry, "\r\n+INQ,0011223344AA,1F00,,P\r\n", RES_NOT_MINE, {}},

        {"connect", ParseConnect, "\r\n+CONN,0011223344AA\r\n", RES_CONNECT, Raw(Addr(ADDR))},
        {"connect needs CR LF", ParseConnect, "\r\n+CONN,0011223344AA\r", RES_NOT_MINE, {}},
        {"disconnect", ParseDisconnect, "\r\n+DISC,0011223344AA\r\n", RES_DISCONNECT, Raw(Addr(ADDR))},
        {"target", ParseTargetAddr, "\r\n+TADDR,0011223344AA\r\n", RES_TADDR, Raw(Addr(ADDR))},
        {"target 11 digits", ParseTargetAddr, "\r\n+TADDR,0011223344A\r\n", RES_NOT_MINE, {}},

        {"device line", ParseDeviceLine, "\r\n0011223344AA,Dev,MODE2,PENDING,1,0,HWFC\r\n", RES_DEVICE_LINE,
         DeviceLine(ADDR, "Dev", 2, 1, 1, 0, 1)},
        {"device line bare", ParseDeviceLine, "0011223344AA,Dev,MODE0,STANDBY,0,1,NoFC\r", RES_DEVICE_LINE,
         DeviceLine(ADDR, "Dev", 0, 0, 0, 1, 0)},
        {"device line name cut", ParseDeviceLine,
         "\r\n0011223344AA," + NAME40 + ",MODE3,CONNECT,0,0,NoFC\r\n", RES_DEVICE_LINE,
         DeviceLine(ADDR, NAME40.substr(0, 32), 3, 2, 0, 0, 0)},
        {"device line MODE4",
         ParseDeviceLine,
         "\r\n0011223344AA,Dev,MODE4,PENDING,1,0,HWFC\r\n",
         RES_NOT_MINE,
         {}},
        {"device line flow lower case",
         ParseDeviceLine,
         "\r\n0011223344AA,Dev,MODE2,PENDING,1,0,hwfc\r\n",
         RES_NOT_MINE,
         {}},
        {"device line flag 2",
         ParseDeviceLine,
         "\r\n0011223344AA,Dev,MODE2,PENDING,2,0,HWFC\r\n",
         RES_NOT_MINE,
         {}},
        {"device line short", ParseDeviceLine, "\r\n0011223344AA,Dev,MODE2\r\n", RES_NOT_MINE, {}},
        {"device line no comma", ParseDeviceLine, "\r\n0011223344AA\r\n", RES_NOT_MINE, {}},
    };
}

bool CarriesRecord(int code) {
    return code >= RES_VERSION;
}

TEST(ResponseParsers, LinesToBlocks) {
    for (const ParseCase& c : Cases()) {
        const ResultBlock block = c.parse(c.line);
        ASSERT_TRUE(block) << c.what;
        EXPECT_EQ(ResultCode(block.get()), c.expected) << c.what;
        const Payload_t payload(Payload(block.get()), Payload(block.get()) + PayloadLength(block.get()));
        if (CarriesRecord(c.expected)) {
            EXPECT_EQ(payload, c.payload) << c.what;
        } else {
            // A line that is not the parser's leaves nothing in its record.
            EXPECT_EQ(std::count(payload.begin(), payload.end(), 0), std::ssize(payload)) << c.what;
        }
    }
}

}  // namespace
