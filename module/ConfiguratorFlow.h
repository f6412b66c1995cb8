#pragma once

// The configurator's flow over the module, for the page and for tarnelctl
// alike: the steps it runs (check, read, disconnect, apply, factory reset,
// the inquiry) and, for each step's result, what follows and which message
// the user is told. Questions to the user stay with the caller: the page
// asks in a box, tarnelctl decides by itself.
//
// Threads: the steps block and run on one thread at a time (the page's
// worker); After runs on the caller's thread of decisions (the page's window
// thread) and touches nothing the steps use.

#include <functional>
#include <string>

#include "module/FlowOutcome.h"
#include "module/ModuleReading.h"
#include "module/ModuleResult.h"
#include "module/ModuleWrite.h"
#include "module/TarnelModule.h"
#include "protocol/PayloadRecords.h"

class TarnelComm;

enum class FlowStep { Check, Read, Disconnect, Apply, FactoryReset, StartSearch, NextReport, StopSearch };

class ConfiguratorFlow {
public:
    // `beforeResponsesOn` runs when a module is found with command responses
    // off, just before they are switched back on; it may be empty.
    explicit ConfiguratorFlow(TarnelComm& comm, std::function<void()> beforeResponsesOn = {});

    // Steps (TarnelModule.h says what each sends). `model`, when given, gets
    // the model name a successful check reported.
    ModuleResult Check(std::string* model = nullptr);
    // `reading` is filled as far as the read got.
    ModuleResult Read(ModuleReading& reading);
    ModuleResult Disconnect();
    // `current` gets the module's +INFO1 read first.
    ModuleResult Apply(const ModuleWrite& values, DeviceInfo& current);
    ModuleResult FactoryReset();
    // "ATZ", whose answer is not awaited: the written settings take effect.
    void ResetModule();
    ModuleResult StartSearch();
    ModuleResult NextReport(InquiryResult& report);
    ModuleResult StopSearch();

    // What follows `result` of `step`; `info` is the module's information as
    // last read (only Read looks at it). A failed disconnect is remembered until the next read: a
    // module still connected then is given up without another question.
    FlowOutcome After(FlowStep step, ModuleResult result, const DeviceInfo& info = {});
    // A new opening of the port: what the last one left is forgotten.
    void Begin();

    // For sequences of tarnelctl's own (reading back, probing).
    TarnelModule& Module() { return m_module; }

private:
    FlowOutcome AfterRead(ModuleResult result, const DeviceInfo& info);

    TarnelModule m_module;
    bool m_disconnectFailed = false;
};
