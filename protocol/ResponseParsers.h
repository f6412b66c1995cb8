#pragma once

// The module's response parsers: each turns one response line (as the
// engine's framing cuts it, see AtCmdBase) into a result block. A parser
// answers its own result code, with its record filled, only when the whole
// line matches its grammar; otherwise RES_NOT_MINE with the record's size and
// a zero-filled record. None throws, none keeps state.
//
// Which parsers may end a command of which code is the response table's
// business (ResponseTable.h).

#include <string_view>

#include "protocol/ResultBlock.h"

using ResponseParser = ResultBlock (*)(std::string_view line);

// "+OK\r", "OK\r" or "\r\nOK\r\n" at the start of the line: RES_OK.
ResultBlock ParseOk(std::string_view line);
// "+ERROR\r", "ERROR\r" or "\r\nERROR\r\n" at the start of the line: RES_ERROR.
ResultBlock ParseError(std::string_view line);
ResultBlock ParseModelName(std::string_view line);   // RES_MODELNAME
ResultBlock ParseVersion(std::string_view line);     // RES_VERSION
ResultBlock ParseInfo1(std::string_view line);       // RES_INFO1, DeviceInfo
ResultBlock ParseInfo2(std::string_view line);       // RES_INFO2
ResultBlock ParseDeviceLine(std::string_view line);  // RES_DEVICE_LINE, DeviceLineRecord
ResultBlock ParseAtcm(std::string_view line);        // RES_ATCM
ResultBlock ParseMfrMode(std::string_view line);     // RES_MFRMODE
ResultBlock ParseMfrMode2(std::string_view line);    // RES_MFRMODE_2, the same line
ResultBlock ParseCmbda(std::string_view line);       // RES_CMBDA
ResultBlock ParseMfrbda(std::string_view line);      // RES_MFRBDA
// RES_INQUIRY, InquiryResult; the name is cut before a character, never
// inside one.
ResultBlock ParseInquiry(std::string_view line);
ResultBlock ParseConnect(std::string_view line);     // RES_CONNECT
ResultBlock ParseDisconnect(std::string_view line);  // RES_DISCONNECT
ResultBlock ParseTargetAddr(std::string_view line);  // RES_TADDR
ResultBlock ParseQuietMode(std::string_view line);   // RES_QM
