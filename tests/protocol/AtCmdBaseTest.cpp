#include "protocol/AtCmdBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int ANY_LINE = 1;
constexpr int NO_ENTRY = 99;

// An engine whose only command code takes every line it is offered and
// records it, so that the framing can be checked byte for byte.
class RecordingEngine : public AtCmdBase {
public:
    RecordingEngine() {
        m_responseTable.push_back({ANY_LINE, {[this](std::vector<char>& line, int) {
                                       lines.emplace_back(line.begin(), line.end());
                                       return MakeResultBlock(RES_OK);
                                   }}});
    }
    void AddEntry(int code, std::vector<ResponseHandler> handlers) {
        m_responseTable.push_back({code, std::move(handlers)});
    }

    std::vector<std::string> lines;
};

std::vector<char> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}
std::string Text(const std::vector<char>& v) {
    return {v.begin(), v.end()};
}

struct FindCase {
    std::string buffer;
    long expectedEnd;  // -1: no complete unit
};

TEST(AtCmdBaseFindLineEnd, UnitBoundaries) {
    const FindCase cases[] = {
        {"", -1},         {"\r\nA", -1},      // fewer than four bytes after a CR
        {"\r\nAB", -1},                       // no closing CR yet
        {"\r\nA\r", -1},                      // the closing CR is the last byte
        {"\r\nA\r\n", 5},                     // CR LF text CR LF
        {"\r\nA\rX", 1},                      // CR LF text CR without LF: only the CR is skipped
        {"\rXYZ", 1},                         // a CR that does not open CR LF
        {"\n", 1},        {"AB\r", 2},        // text up to (not including) its CR
        {"X\r\n", 1},                         // a single character before its CR
        {"AB", -1},       {"\r\n\r\nOK", 4},  // an empty line is a unit of its own
    };
    for (const auto& c : cases) {
        const char* begin = c.buffer.data();
        const char* q = AtCmdBase::FindLineEnd(begin, begin + c.buffer.size());
        EXPECT_EQ(q ? q - begin : -1, c.expectedEnd) << "buffer \"" << c.buffer << "\"";
    }
}

struct TakeCase {
    std::string buffer;
    int expectedCode;
    std::string expectedLine;  // empty: nothing dispatched
    std::string expectedRest;
};

TEST(AtCmdBaseTakeResponse, ConsumesAtMostOneLine) {
    const std::string line255 = "\r\n" + std::string(251, 'A') + "\r\n";
    const std::string line256 = "\r\n" + std::string(252, 'A') + "\r\n";
    const TakeCase cases[] = {
        {"", RES_INCOMPLETE, "", ""},
        {"\r\n", RES_INCOMPLETE, "", "\r\n"},
        {"\r\nO", RES_INCOMPLETE, "", "\r\nO"},
        {"\r\nOK\r", RES_INCOMPLETE, "", "\r\nOK\r"},
        {"\r\nOK\r\n", RES_OK, "\r\nOK\r\n", ""},
        {"OK\r\n", RES_OK, "OK\r", "\n"},  // the LF is left for the next call
        {"\nOK\r\n", RES_OK, "OK\r", "\n"},
        {"\n", RES_INCOMPLETE, "", ""},
        {"X\r\nOK\r\n", RES_OK, "\r\nOK\r\n", ""},  // a single character is not a line
        {"\r\n\r\n\r\nOK\r\n", RES_OK, "\r\nOK\r\n", ""},
        {"\r\n\r\n", RES_INCOMPLETE, "", "\r\n"},
        {"\rX\r\nOK\r\n", RES_OK, "\r\nOK\r\n", ""},
        {"\r\nA\rB\r\n", RES_INCOMPLETE, "", "\r\n"},
        {"AB\r", RES_OK, "AB\r", ""},
        {"AB", RES_INCOMPLETE, "", "AB"},
        {"\r\nOK\r\n\r\nERROR\r\n", RES_OK, "\r\nOK\r\n", "\r\nERROR\r\n"},
        {line255 + "X", RES_OK, line255, "X"},
        {line256 + "X", RES_LINE_TOO_LONG, "", "X"},
        {std::string(1024, 'A'), RES_INCOMPLETE, "", std::string(1024, 'A')},
        // An unfinished unit past the receive limit can only become a line
        // over the limit: it is dropped instead of growing without end.
        {"\r\n" + std::string(1023, 'A'), RES_LINE_TOO_LONG, "", ""},
    };
    for (const auto& c : cases) {
        RecordingEngine engine;
        std::vector<char> buffer = Bytes(c.buffer);
        auto block = engine.TakeResponse(buffer, ANY_LINE);
        ASSERT_TRUE(block);
        EXPECT_EQ(ResultCode(block.get()), c.expectedCode) << "buffer \"" << c.buffer << "\"";
        EXPECT_EQ(engine.lines, c.expectedLine.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.expectedLine})
            << "buffer \"" << c.buffer << "\"";
        EXPECT_EQ(Text(buffer), c.expectedRest) << "buffer \"" << c.buffer << "\"";
    }
}

// The same stream must frame into the same lines however it is cut into reads.
TEST(AtCmdBaseTakeResponse, FramingDoesNotDependOnHowBytesArrive) {
    const std::string stream = "X\r\n\r\n\r\nOK\r\n\r\n+VER,1\r\nJUNK\r\n\r\nERROR\r\n\rQ\rAB\r";
    const std::vector<std::string> expected = {"\r\nOK\r\n", "\r\n+VER,1\r\n", "JUNK\r", "\r\nERROR\r\n",
                                               "AB\r"};
    for (std::size_t chunk :
         {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{10}, stream.size()}) {
        RecordingEngine engine;
        std::vector<char> buffer;
        for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
            const std::string piece = stream.substr(pos, chunk);
            buffer.insert(buffer.end(), piece.begin(), piece.end());
            while (ResultCode(engine.TakeResponse(buffer, ANY_LINE).get()) != RES_INCOMPLETE) {
            }
        }
        EXPECT_EQ(engine.lines, expected) << "chunk size " << chunk;
        EXPECT_TRUE(buffer.empty()) << "chunk size " << chunk;
    }
}

TEST(AtCmdBaseDispatchLine, WalksEntriesOfTheCodeInOrder) {
    constexpr int CODE = 5;
    RecordingEngine engine;
    std::vector<std::string> calls;
    auto handler = [&calls](std::string name, int answer) -> ResponseHandler {
        return [&calls, name, answer](std::vector<char>& line, int code) {
            calls.push_back(name + ":" + std::to_string(code));
            line.assign(3, 'Z');  // a handler's changes must not reach the next one
            return MakeResultBlock(answer);
        };
    };
    auto expectLine = [&calls](std::string name) -> ResponseHandler {
        return [&calls, name](std::vector<char>& line, int) {
            calls.push_back(name + (Text(line) == "OK\r" ? ":intact" : ":changed"));
            return MakeResultBlock(RES_NOT_MINE);
        };
    };
    engine.AddEntry(CODE, {handler("a", RES_NOT_MINE), expectLine("b")});
    engine.AddEntry(7, {handler("other", RES_ERROR)});
    engine.AddEntry(CODE, {handler("c", RES_TIMEOUT), handler("d", RES_OK)});

    auto block = engine.DispatchLine(Bytes("OK\r"), CODE);
    EXPECT_EQ(ResultCode(block.get()), RES_TIMEOUT);
    EXPECT_EQ(calls, (std::vector<std::string>{"a:5", "b:intact", "c:5"}));
}

TEST(AtCmdBaseDispatchLine, LongLinesAndUnknownCodes) {
    RecordingEngine engine;
    EXPECT_EQ(ResultCode(engine.DispatchLine(std::vector<char>(255, 'A'), ANY_LINE).get()), RES_OK);
    EXPECT_EQ(ResultCode(engine.DispatchLine(std::vector<char>(256, 'A'), ANY_LINE).get()),
              RES_LINE_TOO_LONG);
    EXPECT_EQ(engine.lines.size(), 1u);  // the long line reached no handler
    EXPECT_EQ(ResultCode(engine.DispatchLine(Bytes("\r\nOK\r\n"), NO_ENTRY).get()), RES_NOT_MINE);
}

}  // namespace
