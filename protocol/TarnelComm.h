#pragma once

// The AT command engine for the Tarnel module: owns the serial channel,
// sends one command at a time and waits for its conclusive response line,
// and offers poll steps for the reports the module sends on its own.
//
// Every command and poll answers with a result block (ResultBlock.h).
// Callers may come from several threads: calls are let in one at a time
// (CommandGate), and Close ends a waiting call at once with RES_CLOSED.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "protocol/AtCmdBase.h"
#include "protocol/CommandGate.h"
#include "protocol/CommandSet.h"
#include "protocol/PayloadRecords.h"
#include "serial/IoServiceExec.h"
#include "serial/PortName.h"

// The number of engines open in this process. Every engine's channel runs on
// g_ioServiceExec: Open starts its two workers, the Close that brings this
// count to 0 stops it.
extern std::atomic<int> g_openEngines;

class TarnelComm : public AtCmdBase {
public:
    TarnelComm();
    // The owner calls Close first; an engine still open is closed here.
    ~TarnelComm() override;

    // Opens the channel with the serial parameters (as CSerialportMP::Open
    // takes them) and starts the global executor. The empty code on success;
    // otherwise the channel's error and nothing changes.
    std::error_code Open(const PortName& port, unsigned baud, unsigned charSize, uint8_t parity,
                         uint8_t stopBits, uint8_t flowControl);
    // New serial parameters for the open channel, which stays open (no
    // settling time, as a Close and Open would cost). What is learnt about the
    // module since Open is forgotten: another framing may reach another
    // module. Between commands only, from the thread that sends them. The
    // channel's error on failure.
    std::error_code Reconfigure(unsigned baud, unsigned charSize, uint8_t parity, uint8_t stopBits,
                                uint8_t flowControl);
    // Closes the channel; a call waiting in the engine returns RES_CLOSED,
    // and Close returns only after it has. Not from inside m_onSend.
    void Close();
    bool IsOpen() const;

    // Sends `length` bytes of `command` (none when 0, then it only waits) and
    // returns the first conclusive result for `code` within `timeoutMs`:
    // a handler's block, RES_LINE_TOO_LONG, RES_TIMEOUT, RES_NOT_OPEN (nothing
    // sent, or the channel closed itself on a read error while the call
    // waited) or RES_CLOSED. While another call runs, this one waits for it
    // first; it gives up with RES_TIMEOUT, nothing sent, should that call
    // overrun its own limit, and with RES_CLOSED on Close. Always a block.
    //
    // A module may send a query's OK some time after its data line, or none
    // at all. Whether it does is learnt in an opening: the first query waits
    // for its OK a few character times (OkWait); a module that sends one by
    // then does, and from then on every query takes its OK itself (a prompt
    // module's costs at most one more slice). Otherwise the question stays
    // open until the module's next line, since a module sends its lines in
    // order: an OK first says the module sends one, late; anything else says
    // it sends none, and later queries return at their data line. Before a
    // command that an OK answers, an open question is settled with the
    // response query ("AT+QM?"), so no OK ever answers a later command.
    // What was learnt stays for the next opening of the same port, unless
    // the port failed; an OK found where none was expected makes the engine
    // learn again.
    //
    // Nothing is learnt from a module with command responses off, which sends
    // no OK at all. The engine believes them off from a "+QM,1" answer or an
    // answered "AT+QM=1", on from "+QM,0" or an answered "AT+QM=0"; at an
    // opening, and after a switch that was not answered OK, it does not know,
    // and a query's OK is awaited as when they are on.
    //
    // An inquiry report (RES_INQUIRY) ends a command whose handlers take it
    // but stays buffered for WaitInquiryResult.
    std::unique_ptr<uint8_t[]> SendCommand(const char* command, size_t length, int code, unsigned timeoutMs);
    // An argument-less command of the command set.
    std::unique_ptr<uint8_t[]> SendCommand(const AtCommand& command);
    // Formatted `text` under `command`'s code and time limit; an empty text,
    // which the formatting functions give for a command too long for the
    // module, is refused with RES_COMMAND_TOO_LONG and nothing is sent.
    std::unique_ptr<uint8_t[]> SendCommand(const std::string& text, const AtCommand& command);

    // One poll step each: waits at most one slice, reads at most one line.
    // The payload code (RES_INQUIRY, RES_CONNECT, RES_DISCONNECT) with the
    // record filled; otherwise the line's code (RES_INCOMPLETE when nothing is
    // buffered, RES_NOT_MINE for a foreign line, RES_OK/RES_ERROR where the
    // poll's handlers take them), RES_NOT_OPEN, RES_CLOSED, or RES_TIMEOUT when
    // another call held the engine past its own limit (nothing was read),
    // record untouched.
    int WaitInquiryResult(InquiryResult& result);
    int WaitConnection(BdAddr& peer);
    int WaitDisconnect(BdAddr& peer);

    // Reads the command-response setting into `mode` (0 on, 1 off) when the
    // result is RES_QM; returns the result code.
    int GetQuietMode(uint8_t& mode);
    // Writes it; returns the result code (RES_OK, RES_ERROR, RES_TIMEOUT, ...).
    int SetQuietMode(uint8_t mode);

    // Optional observers, assigned before Open. m_onReceive and m_onError run
    // on an I/O thread under the receive lock: they must not call back into
    // the engine.
    std::function<void(const TarnelComm*, const std::vector<uint8_t>&)> m_onReceive;
    std::function<void(const TarnelComm*, std::vector<char>&)> m_onSend;
    std::function<void(const TarnelComm*, std::error_code&)> m_onError;

private:
    void OnRead(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error,
                const std::vector<uint8_t>& data, unsigned bytes);
    void OnWrite(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error, unsigned bytes);

    // Whether the module sends an OK after a query's data line.
    enum class OkAfterData { Unknown, Yes, No };
    // What the engine believes of the module's command responses.
    enum class Responses { Unknown, On, Off };
    // What the line at the front of the response buffer says of an OK that
    // the last query may still owe.
    enum class DueOk { Open, Came, NoneCame };

    // How long the first query of an opening waits for an OK after its data
    // line at this framing: the OK line and a few character times more, never
    // less than a USB adapter's latency and the host's scheduling add.
    static std::chrono::milliseconds OkWait(unsigned baud, unsigned charSize, uint8_t parity,
                                            uint8_t stopBits);
    std::unique_ptr<uint8_t[]> InGate(unsigned timeoutMs,
                                      const std::function<std::unique_ptr<uint8_t[]>()>& call);
    std::unique_ptr<uint8_t[]> RunCommand(const char* command, size_t length, int code, unsigned timeoutMs);
    void DiscardStaleInput();
    bool AnsweredByOk(int code);
    void SettleWithQuery();
    DueOk SettleDueOk();
    bool TakeOkLine();
    bool OkFollows(const uint8_t* block);
    void AwaitTrailingOk(std::chrono::steady_clock::time_point until);
    void BeginOpening(unsigned baud, unsigned charSize, uint8_t parity, uint8_t stopBits);
    int Poll(int code, int payloadCode, void* record, size_t recordSize);

    using Clock = std::chrono::steady_clock;

    std::chrono::time_point<Clock, std::chrono::nanoseconds> m_lastSend;
    CommandGate m_gate{m_closing};
    // The calls' own (under m_gate), and Open's before any call can run.
    OkAfterData m_okAfterData = OkAfterData::Unknown;
    bool m_okDue = false;  // the last query may still send its OK
    Responses m_responses = Responses::Unknown;
    std::chrono::milliseconds m_okWait{0};  // OkWait at the open framing
    PortName m_port;                        // the port m_okAfterData was learnt on
    // Set by a read or write error: what was learnt may not hold for the
    // module that comes back on the port.
    std::atomic<bool> m_portFailed{false};
    // This engine counts in g_openEngines; kept apart from the channel's own
    // state because the channel may close itself after an unobserved error.
    std::atomic<bool> m_counted{false};
};
