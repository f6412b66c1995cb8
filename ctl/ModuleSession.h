#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ctl/CtlStreams.h"
#include "ctl/ModulePort.h"
#include "ctl/ProgressLine.h"
#include "module/ConfiguratorFlow.h"
#include "module/ModuleReading.h"
#include "module/ModuleWrite.h"

namespace tarnel::ctl {

// The steps of info, set, reset, search and provision on one open port,
// through the configurator's flow, each returning the exit status it leads
// to; Why() says what went wrong. A step on a port that failed under it ends
// with EXIT_PORT, one begun after Ctrl+C with EXIT_INTERRUPTED. A step that
// Ctrl+C comes in is finished (a module is never left half written);
// Finished() then ends the command.
class ModuleSession {
public:
    // Notes (command responses switched on, a connection ended) go to `err`;
    // the steps show on `progress`.
    ModuleSession(ModulePort& port, std::ostream& err, ProgressLine& progress);

    // The module answers, and names its model into Model(): EXIT_DONE or
    // EXIT_NO_MODULE.
    int Check();
    // Every setting into Reading(): EXIT_DONE or EXIT_REFUSED, also when the
    // module's command responses could not be switched on. A connected
    // module is read as it is: its link is not ended.
    int Read();
    // Read before a change (a write, a factory reset, a search): a connected
    // module's Bluetooth link is ended first, as the configurator does, and
    // saying so; the module is then checked and read again. EXIT_REFUSED
    // when the link could not be ended.
    int ReadUnlinked();
    // Writes `write`, resets the module, reopens the port at the written
    // framing and reads back with queries only: EXIT_DONE when every value
    // took, else EXIT_REFUSED with NotTaken() or Why() filled. After Ctrl+C
    // during the write the module is still reset, but not read back.
    int ApplyAndVerify(const ModuleWrite& write);
    // ReadUnlinked, the factory reset, then a read back at the factory framing
    // (not after Ctrl+C during the reset).
    int FactoryReset();
    // After the last step: EXIT_DONE, or EXIT_INTERRUPTED when Ctrl+C came
    // while it ran, with Why() saying what the steps did.
    int Finished();
    // Ends a step that the module's answer to its last command failed, with
    // EXIT_REFUSED: Why() is `lead` with that answer in words after it, or,
    // without a lead, the answer as a sentence; FailedReply() is the answer.
    // `what` names the command for a person ("the name").
    int Refused(const std::string& lead, const std::string& what);

    // Prints Why() for a step that ended with `status`, and with --json the
    // failure as a record on the output, naming the command and the module's
    // answer when that answer decided it.
    int Report(int status, const CtlStreams& io, bool json) const;

    ConfiguratorFlow& Flow() { return m_flow; }
    const std::string& Model() const { return m_model; }
    const ModuleReading& Reading() const { return m_reading; }
    // Reading() with the command responses as the module had them before
    // Check switched them on: what a write keeps when not told otherwise.
    ModuleReading AsFound() const;
    const std::vector<std::string>& NotTakenValues() const { return m_notTaken; }
    const std::string& Why() const { return m_why; }
    // The command whose answer ended the last failed step, and that answer;
    // an empty command when no answer of the module did.
    const ModuleReply& FailedReply() const { return m_failedReply; }

private:
    int ReadStep(FlowOutcome& outcome);
    int ResponsesOn();
    int EndLink();
    int ReadBackAt(const LineSettings& line);
    int Fail(int status, std::string why, ModuleReply reply = {});
    int Stopped(const std::string& done);
    int LostWhileWriting(const ModuleWrite& write);
    void Note(const std::string& text);

    ModulePort& m_port;
    std::ostream& m_err;
    ProgressLine& m_progress;
    ConfiguratorFlow m_flow;
    std::string m_model;
    ModuleReading m_reading;
    std::vector<std::string> m_notTaken;
    std::string m_why;
    std::string m_done;  // what the steps did, for the message on Ctrl+C
    ModuleReply m_failedReply;
    ModuleReply m_checkSwitch;  // the check's switch of the command responses
    bool m_foundResponsesOff = false;
};

}  // namespace tarnel::ctl
