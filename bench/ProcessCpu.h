#pragma once

#include <sys/types.h>

#include <chrono>

// The processor time that the live threads of process `pid` have used so far,
// to the nanosecond (the scheduler's own account); zero for a process that
// is gone. Time of threads that have ended is not counted.
std::chrono::nanoseconds ProcessCpu(pid_t pid);
