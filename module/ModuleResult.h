#pragma once

// What one of the module's command sequences gave: the one result that goes
// from the module through the configurator's flow to the page and to
// tarnelctl.
enum class ModuleResult {
    Ok,              // done; an inquiry poll: a device report came
    Failed,          // no conclusive answer, or the module refused
    NoModel,         // Check: the module answered but named no model
    NoReport,        // an inquiry poll: nothing in this poll
    SearchEnded,     // an inquiry poll: the module ended the inquiry
    NameFailed,      // Apply: the name was refused
    UartFailed,      // Apply: UART values invalid or refused
    TargetFailed,    // Apply: the target was refused
    OpModeFailed,    // Apply: operation mode invalid or refused
    ResponseFailed,  // Apply: the response setting was refused
    Closed,          // the engine was closed, or its channel closed itself on a port error
};
