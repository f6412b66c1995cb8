#include "protocol/ResponseTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol/CommandSet.h"
#include "protocol/PayloadRecords.h"

namespace {

// The engine's dispatch over the module's table, without a channel.
class TableDispatch : public AtCmdBase {
public:
    TableDispatch() { m_responseTable = ModuleResponseEntries(); }
    int Code(const std::string& line, int code) { return ResultCode(Dispatch(line, code).get()); }
    ResultBlock Dispatch(const std::string& line, int code) {
        return DispatchLine({line.begin(), line.end()}, code);
    }
};

// Which of the plain answers end a command of each code, in table order.
struct CodeCase {
    int code;
    bool endsOnOk;
    bool endsOnError;
};

TEST(ResponseTable, OkAndErrorPerCommandCode) {
    const CodeCase codes[] = {
        {2, true, true},   {3, true, true},  {4, true, true},   {6, false, true},  {8, false, true},
        {9, false, true},  {7, false, true}, {12, false, true}, {13, true, true},  {10, false, true},
        {11, false, true}, {14, true, true}, {15, true, true},  {16, false, true}, {17, true, true},
        {18, false, true}, {19, true, true}, {20, false, true}, {21, true, true},  {22, true, false},
        {23, true, true},  {24, true, true}, {25, false, true}, {26, true, true},  {27, false, true},
        {28, true, true},  {29, true, true}, {30, true, true},  {32, true, true},  {33, true, true},
        {34, true, true},  {35, true, true}, {36, true, true},  {37, false, true},
    };
    TableDispatch table;
    for (const CodeCase& c : codes) {
        EXPECT_EQ(table.Code("\r\nOK\r\n", c.code), c.endsOnOk ? RES_OK : RES_NOT_MINE) << "code " << c.code;
        EXPECT_EQ(table.Code("\r\nERROR\r\n", c.code), c.endsOnError ? RES_ERROR : RES_NOT_MINE)
            << "code " << c.code;
    }
    EXPECT_EQ(table.Code("\r\nOK\r\n", 31), RES_NOT_MINE);
}

// Data lines count only under the codes whose parsers read them.
TEST(ResponseTable, DataLinesEndOnlyTheirCodes) {
    const std::string connect = "\r\n+CONN,0011223344AA\r\n";
    const std::string target = "\r\n+TADDR,0011223344AA\r\n";
    TableDispatch table;
    EXPECT_EQ(table.Code(connect, POLL_CONNECTION_CODE), RES_CONNECT);
    EXPECT_EQ(table.Code(connect, CODE_CONNECT), RES_CONNECT);
    EXPECT_EQ(table.Code(connect, CMD_DISCONNECT.code), RES_NOT_MINE);
    EXPECT_EQ(table.Code(target, CMD_TADDR_QUERY.code), RES_TADDR);
    EXPECT_EQ(table.Code(target, CMD_TADDR_SET.code), RES_NOT_MINE);
}

// Bluetooth names run to 248 bytes: such a report is longer than other lines
// may be, and keeps what its record holds, cut before a split character.
TEST(ResponseTable, AnInquiryReportWithTheLongestNameIsRead) {
    std::string korean = "A";
    for (int i = 0; i < 83; ++i)
        korean += "\xED\x95\x9C";
    ASSERT_EQ(korean.size(), 250u);
    const std::string line = "\r\n+INQ,0A0B0C0D0E0F,5A020C,-128," + korean + "\r\n";
    TableDispatch table;
    for (int code : {CMD_INQUIRY.code, POLL_INQUIRY_CODE}) {
        ResultBlock block = table.Dispatch(line, code);
        ASSERT_EQ(ResultCode(block.get()), RES_INQUIRY) << code;
        InquiryResult rec{};
        CopyPayload(block.get(), rec);
        EXPECT_EQ(std::string(rec.name), korean.substr(0, 61)) << code;
    }
    EXPECT_EQ(table.Code("\r\n+VER," + korean + "\r\n", CMD_VERSION.code), RES_LINE_TOO_LONG);
}

// The table's shape: the rows in order with their number of parsers.
TEST(ResponseTable, HasItsEntriesInOrder) {
    const std::vector<std::pair<int, std::size_t>> expected = {
        {2, 2},  {3, 2},  {4, 2},  {6, 2},  {8, 2},  {9, 2},  {7, 2},  {12, 2}, {13, 2},
        {10, 2}, {11, 2}, {14, 2}, {15, 2}, {16, 2}, {17, 2}, {18, 2}, {19, 2}, {20, 2},
        {21, 3}, {22, 2}, {23, 2}, {24, 3}, {25, 2}, {26, 2}, {27, 2}, {28, 2}, {29, 2},
        {30, 2}, {32, 2}, {33, 2}, {34, 2}, {35, 3}, {36, 2}, {37, 2},
    };
    std::vector<std::pair<int, std::size_t>> shape;
    for (const ResponseEntry& e : ModuleResponseEntries())
        shape.emplace_back(e.commandCode, e.handlers.size());
    EXPECT_EQ(shape, expected);
}

}  // namespace
