#include "protocol/ResponseTable.h"

#include <string_view>

#include "protocol/CommandSet.h"

namespace {

// Bluetooth names run to 248 bytes, so a +INQ report may be longer than
// other lines; it is read whatever its length, as far as the receive buffer
// holds it, and its name cut to the record.
constexpr std::size_t MAX_INQUIRY_LINE = AtCmdBase::RX_LIMIT;

std::vector<ResponseRow> BuildTable() {
    const std::vector<ResponseParser> ack{ParseOk, ParseError};
    const auto query = [](ResponseParser parser) { return std::vector<ResponseParser>{parser, ParseError}; };
    return {
        {CMD_AT.code, ack},
        {CMD_RESET.code, ack},
        {CMD_FACTORY_RESET.code, ack},
        {CMD_MODELNAME.code, query(ParseModelName)},
        {CMD_INFO1.code, query(ParseInfo1)},
        {CMD_INFO2.code, query(ParseInfo2)},
        {CODE_DEVICE_LINE, query(ParseDeviceLine)},
        {CODE_ATCM, query(ParseAtcm)},
        {CODES_ACKNOWLEDGED[0], ack},
        {CODE_MFRMODE, query(ParseMfrMode)},
        {CODE_MFRMODE_2, query(ParseMfrMode2)},
        {CMD_OPCANCEL.code, ack},
        {CODES_ACKNOWLEDGED[1], ack},
        {CODE_CMBDA, query(ParseCmbda)},
        {CODES_ACKNOWLEDGED[2], ack},
        {CODE_MFRBDA, query(ParseMfrbda)},
        {CODES_ACKNOWLEDGED[3], ack},
        {CMD_VERSION.code, query(ParseVersion)},
        // The inquiry command ends on an OK that acknowledges it, on its
        // refusal, or on the first report, which stays for the polls.
        {CMD_INQUIRY.code, {ParseError, ParseOk, ParseInquiry}, MAX_INQUIRY_LINE},
        {POLL_INQUIRY_CODE, {ParseOk, ParseInquiry}, MAX_INQUIRY_LINE},
        {CMD_SCAN.code, ack},
        {POLL_CONNECTION_CODE, {ParseOk, ParseError, ParseConnect}},
        {CMD_TADDR_QUERY.code, query(ParseTargetAddr)},
        {CMD_TADDR_SET.code, ack},
        {CMD_QM_QUERY.code, query(ParseQuietMode)},
        {CMD_QM_SET.code, ack},
        {CMD_NAME.code, ack},
        {CMD_UART.code, ack},
        {CMD_OPMODE.code, ack},  // and CMD_ESCAPE, which shares its code
        {CODES_ACKNOWLEDGED[4], ack},
        {CODES_ACKNOWLEDGED[5], ack},
        {CODE_CONNECT, {ParseOk, ParseError, ParseConnect}},
        {CMD_DISCONNECT.code, ack},
        {POLL_DISCONNECT_CODE, {ParseError, ParseDisconnect}},
    };
}

}  // namespace

const std::vector<ResponseRow>& ModuleResponseTable() {
    static const std::vector<ResponseRow> table = BuildTable();
    return table;
}

std::vector<ResponseEntry> ModuleResponseEntries() {
    std::vector<ResponseEntry> entries;
    for (const ResponseRow& row : ModuleResponseTable()) {
        ResponseEntry entry{row.code, {}, row.maxLineLength};
        for (ResponseParser parser : row.parsers)
            entry.handlers.emplace_back([parser](std::vector<char>& line, int) {
                return parser({line.data(), line.size()});
            });
        entries.push_back(std::move(entry));
    }
    return entries;
}
