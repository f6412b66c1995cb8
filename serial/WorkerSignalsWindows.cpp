#include "serial/WorkerSignals.h"

// Windows runs a console's Ctrl+C handler on a thread of its own.
void KeepProcessSignalsFromThisThread() {}
