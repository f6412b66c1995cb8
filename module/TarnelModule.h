#pragma once

// The module's command sequences over the engine: check that it answers,
// read its settings, write them, factory-reset it, end its Bluetooth link,
// and the steps of an inquiry. No window and no thread of their own: the
// configurator's worker and tarnelctl run them and decide what to tell the
// user.
//
// Threads: one sequence at a time per engine, from any one thread; Close on
// the engine from another thread ends a waiting sequence with
// ModuleResult::Closed.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "module/ModuleReading.h"
#include "module/ModuleResult.h"
#include "module/ModuleWrite.h"
#include "protocol/PayloadRecords.h"

class TarnelComm;
struct AtCommand;

// One command of an Apply, as it goes to the module. A value that cannot be
// sent has no text: the write stops there with `refused`.
struct WriteCommand {
    std::string text;          // as sent, with its line end
    const AtCommand* command;  // nullptr: the response setting, which the engine sends itself
    ModuleResult refused;      // the result when the module refuses it
};

// One command a sequence sent and what the module answered to it: the
// engine's result code (RES_OK, RES_ERROR for a refusal, RES_TIMEOUT when it
// did not answer within the command's limit, a payload code, ...).
struct ModuleReply {
    std::string command;  // as sent, without its CR; empty when nothing was sent
    int code = 0;         // RES_OK
};

class TarnelModule {
public:
    // `beforeResponsesOn` runs when a module is found with command responses
    // off, just before they are switched back on (the configurator tells the
    // user there); it may be empty.
    explicit TarnelModule(TarnelComm& comm, std::function<void()> beforeResponsesOn = {});

    // The module answers and names its model: Ok, Failed, NoModel, Closed. A
    // module that does not answer "AT" is sent the escape sequence and, when
    // it has responses off, has them switched on. `model`, when given, gets
    // the model name it reported.
    ModuleResult Check(std::string* model = nullptr);
    // Reads everything ModuleReading holds, cancelling a scan, inquiry or
    // connection attempt first: Ok, Failed, Closed. `reading` is filled as
    // far as the read got.
    ModuleResult Read(ModuleReading& reading);
    // Reads what Read does with queries alone: nothing is switched on or
    // cancelled, so a module with command responses off keeps them off. For
    // reading back what an Apply wrote: Ok, Failed, Closed.
    ModuleResult ReadQueriesOnly(ModuleReading& reading);
    // The model name the module reports: Ok, Failed, Closed.
    ModuleResult ReadModelName(std::string& model);
    // Whether a module answers within `timeoutMs` at the port's framing.
    // Asks for the response setting, which a module answers also with
    // command responses off, after the escape that a connected module needs
    // to hear commands.
    bool Probe(unsigned timeoutMs);
    // "AT&F": Ok or Failed.
    ModuleResult FactoryReset();
    // Writes name, UART settings, the target when set, operation mode and the
    // response setting, in that order, stopping at the first refusal (its
    // own result). `current` gets the module's +INFO1 read first.
    ModuleResult Apply(const ModuleWrite& values, DeviceInfo& current);
    // The commands Apply sends for `values`, in order, up to and including
    // the first value that cannot be sent; for showing a write without
    // making it.
    static std::vector<WriteCommand> WriteCommands(const ModuleWrite& values);
    // "ATZ": the module restarts with what was written; its answer is not
    // awaited.
    void Reset();
    // Ends the Bluetooth link and waits for the module's report: Ok, Failed,
    // Closed.
    ModuleResult Disconnect();

    // Starts the inquiry the configurator runs: Ok (also when the module
    // only acknowledges it later), Failed on ERROR, Closed.
    ModuleResult StartInquiry();
    // One poll for a report: Ok with `report` filled, SearchEnded, NoReport,
    // Closed.
    ModuleResult NextInquiryReport(InquiryResult& report);
    // Cancels the running inquiry: Ok or Failed.
    ModuleResult StopInquiry();

    // The last command a sequence sent and its answer: for a sequence that
    // failed, the command that was refused or not answered (an empty command
    // when it failed before sending, on a value it was not given to send).
    const ModuleReply& LastReply() const { return m_lastReply; }
    // The switch that turned command responses on in the last Check or Read,
    // which goes on as the configurator does whatever its answer; the code
    // is RES_OK when no switch was needed.
    const ModuleReply& ResponsesSwitch() const { return m_responsesSwitch; }

private:
    std::unique_ptr<uint8_t[]> Send(const char* text, int code, unsigned timeoutMs);
    std::unique_ptr<uint8_t[]> Send(const AtCommand& command);
    std::unique_ptr<uint8_t[]> Send(const std::string& text, const AtCommand& command);
    int Noted(const char* command, int code);
    int QueryResponses(uint8_t& responses);
    int SwitchResponses(uint8_t mode);
    bool ReadResponsesAndEnable(uint8_t& responses);
    ModuleResult ReadQueries(ModuleReading& reading, bool cancelBusy);
    bool CancelOperation(uint8_t state);

    TarnelComm& m_comm;
    std::function<void()> m_beforeResponsesOn;
    ModuleReply m_lastReply;
    ModuleReply m_responsesSwitch;
};
