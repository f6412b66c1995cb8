#pragma once

// What the configurator's flow says after one of its steps: what comes next
// and what the user is told.

// What the caller does next.
enum class FlowNext {
    Ready,          // the module is read and waits for the user
    Read,           // read the settings
    Check,          // check the module again (after the message, if any)
    AskDisconnect,  // the module is connected: when the user agrees to the message, disconnect it
    NextReport,     // poll the running inquiry again
    ResetModule,    // the settings are written: reset the module, tell the user, give the port up
    GiveUp,         // give the port up (after the message, if any) and offer the port settings again
    Stop,           // give the port up and tell the user; the port stays closed
};

struct FlowOutcome {
    FlowNext next = FlowNext::Ready;
    int message = 0;      // module/MessageIds.h; 0: nothing to tell
    bool failed = false;  // the message reports a failure
};
