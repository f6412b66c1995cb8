#pragma once

// Ctrl+C and termination requests are for the thread that asked for them
// (tarnelctl's main thread polls a flag its handler sets). A worker that took
// one could be finishing: a sanitizer's runtime drops a signal that arrives
// in an exiting thread, and the request would be lost.
void KeepProcessSignalsFromThisThread();
