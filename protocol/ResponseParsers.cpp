#include "protocol/ResponseParsers.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "protocol/PayloadRecords.h"
#include "protocol/ResponseFields.h"

namespace {

constexpr std::string_view CR = "\r";
constexpr std::string_view CRLF = "\r\n";

// The parsers' common start: a block for their record, not yet theirs.
ResultBlock Candidate(std::size_t payloadLength) {
    return MakeResultBlock(RES_NOT_MINE, static_cast<uint16_t>(payloadLength));
}

bool BeginsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The answer of the OK and ERROR parsers: each of the three forms is tested
// only when the line is at least as long as it.
ResultBlock ParseVerdict(std::string_view line, std::initializer_list<std::string_view> forms, int verdict) {
    const bool match =
        std::any_of(forms.begin(), forms.end(), [line](std::string_view f) { return BeginsWith(line, f); });
    return MakeResultBlock(match ? verdict : RES_NOT_MINE);
}

// keyword "," text terminator, text cut to the 64-byte record.
ResultBlock ParseTextLine(std::string_view line, std::string_view keyword, std::string_view terminator,
                          int resultCode) {
    ResultBlock block = Candidate(TEXT_RECORD_SIZE);
    std::vector<std::string_view> fields;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields)) {
        CopyText(fields[0], reinterpret_cast<char*>(Payload(block.get())), TEXT_RECORD_SIZE);
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

// keyword "," address terminator.
ResultBlock ParseAddressLine(std::string_view line, std::string_view keyword, std::string_view terminator,
                             int resultCode) {
    ResultBlock block = Candidate(sizeof(BdAddr));
    std::vector<std::string_view> fields;
    BdAddr addr;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields) && ParseAddress(fields[0], addr)) {
        std::memcpy(Payload(block.get()), &addr, sizeof addr);
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

// keyword "," decimal terminator, the value in [min, max] stored as one byte.
ResultBlock ParseByteLine(std::string_view line, std::string_view keyword, std::string_view terminator,
                          int32_t min, int32_t max, int resultCode) {
    ResultBlock block = Candidate(1);
    std::vector<std::string_view> fields;
    uint8_t value = 0;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields) &&
        ParseDecimalInRange(fields[0], min, max, value)) {
        Payload(block.get())[0] = value;
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

template <typename Record>
void StoreRecord(uint8_t* block, const Record& record, int resultCode) {
    std::memcpy(Payload(block), &record, sizeof record);
    SetResultCode(block, resultCode);
}

}  // namespace

ResultBlock ParseOk(std::string_view line) {
    return ParseVerdict(line, {"+OK\r", "OK\r", "\r\nOK\r\n"}, RES_OK);
}

ResultBlock ParseError(std::string_view line) {
    return ParseVerdict(line, {"+ERROR\r", "ERROR\r", "\r\nERROR\r\n"}, RES_ERROR);
}

ResultBlock ParseModelName(std::string_view line) {
    return ParseTextLine(line, "\r\n+MODELNAME", CR, RES_MODELNAME);
}

ResultBlock ParseVersion(std::string_view line) {
    return ParseTextLine(line, "\r\n+VER", CRLF, RES_VERSION);
}

ResultBlock ParseInfo1(std::string_view line) {
    ResultBlock block = Candidate(sizeof(DeviceInfo));
    std::vector<std::string_view> f;
    DeviceInfo info{};
    if (SplitKeywordLine(line, "\r\n+INFO1", 4, CR, f) && ParseAddress(f[0], info.addr)) {
        CopyText(f[1], info.name, sizeof info.name);
        if (ParseDecimalInRange(f[2], 0, 3, info.opMode) &&
            MatchWord(f[3], {"IDLE", "SCANNING", "INQUIRING", "CONNECTING", "CONNECTED"}, info.state)) {
            StoreRecord(block.get(), info, RES_INFO1);
        }
    }
    return block;
}

ResultBlock ParseInfo2(std::string_view line) {
    ResultBlock block = Candidate(INFO2_RECORD_SIZE);
    std::vector<std::string_view> f;
    uint8_t flags[INFO2_FLAG_COUNT] = {};
    if (!SplitKeywordLine(line, "\r\n+INFO2", INFO2_FLAG_COUNT, CRLF, f)) return block;
    for (std::size_t i = 0; i < INFO2_FLAG_COUNT; ++i) {
        if (!ParseDecimalInRange(f[i], 0, 1, flags[i])) return block;
    }
    StoreRecord(block.get(), flags, RES_INFO2);
    return block;
}

ResultBlock ParseDeviceLine(std::string_view line) {
    ResultBlock block = Candidate(sizeof(DeviceLineRecord));
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return block;
    std::string_view first = line.substr(0, comma);
    first.remove_prefix(std::min(first.find_first_not_of(CRLF), first.size()));
    std::vector<std::string_view> f;
    DeviceLineRecord rec{};
    if (!ParseAddress(first, rec.addr) || !SplitFields(line.substr(comma + 1), 6, CR, f)) return block;
    CopyText(f[0], rec.name, sizeof rec.name);
    if (MatchWord(f[1], {"MODE0", "MODE1", "MODE2", "MODE3"}, rec.mode) &&
        MatchWord(f[2], {"STANDBY", "PENDING", "CONNECT"}, rec.linkState) &&
        ParseDecimalInRange(f[3], 0, 1, rec.flag1) && ParseDecimalInRange(f[4], 0, 1, rec.flag2) &&
        MatchWord(f[5], {"NoFC", "HWFC"}, rec.flow)) {
        StoreRecord(block.get(), rec, RES_DEVICE_LINE);
    }
    return block;
}

ResultBlock ParseAtcm(std::string_view line) {
    ResultBlock block = Candidate(sizeof(int32_t));
    std::vector<std::string_view> f;
    int32_t value = 0;
    if (SplitKeywordLine(line, "\r\n+ATCM", 1, CR, f) && ParseDecimal(f[0], value) &&
        (value == 1 || value == 2)) {
        StoreRecord(block.get(), value, RES_ATCM);
    }
    return block;
}

ResultBlock ParseMfrMode(std::string_view line) {
    return ParseByteLine(line, "\r\n+MFRMODE", CR, 0, 2, RES_MFRMODE);
}

ResultBlock ParseMfrMode2(std::string_view line) {
    return ParseByteLine(line, "\r\n+MFRMODE", CR, 0, 2, RES_MFRMODE_2);
}

ResultBlock ParseCmbda(std::string_view line) {
    return ParseAddressLine(line, "\r\n+CMBDA", CR, RES_CMBDA);
}

ResultBlock ParseMfrbda(std::string_view line) {
    return ParseAddressLine(line, "\r\n+MFRBDA", CR, RES_MFRBDA);
}

ResultBlock ParseInquiry(std::string_view line) {
    ResultBlock block = Candidate(sizeof(InquiryResult));
    std::vector<std::string_view> f;
    InquiryResult rec{};
    uint32_t cod = 0;
    int32_t rssi = 0;
    if (SplitKeywordLine(line, "\r\n+INQ", 4, CR, f) && ParseAddress(f[0], rec.addr) &&
        ParseClassOfDevice(f[1], cod) && ParseDecimal(f[2], rssi)) {
        rec.classOfDevice = cod;
        rec.rssi = static_cast<int8_t>(static_cast<uint8_t>(rssi & 0xFF));
        CopyUtf8Text(f[3], rec.name, sizeof rec.name);
        StoreRecord(block.get(), rec, RES_INQUIRY);
    }
    return block;
}

ResultBlock ParseConnect(std::string_view line) {
    return ParseAddressLine(line, "\r\n+CONN", CRLF, RES_CONNECT);
}

ResultBlock ParseDisconnect(std::string_view line) {
    return ParseAddressLine(line, "\r\n+DISC", CRLF, RES_DISCONNECT);
}

ResultBlock ParseTargetAddr(std::string_view line) {
    return ParseAddressLine(line, "\r\n+TADDR", CRLF, RES_TADDR);
}

ResultBlock ParseQuietMode(std::string_view line) {
    return ParseByteLine(line, "\r\n+QM", CRLF, 0, 1, RES_QM);
}
