#pragma once

// The jobs of the configurator's worker thread and the results it reports
// for them (the wParam and lParam of WM_JOB_RESULT, JobResult.h).

#include <cstdint>

inline constexpr int32_t JOB_QUIT = 1;           // ends the worker (ClosePort)
inline constexpr int32_t JOB_CHECK_DEVICE = 3;   // the module answers and names its model
inline constexpr int32_t JOB_READ_SETTINGS = 4;  // reads everything the page shows
inline constexpr int32_t JOB_FACTORY_RESET = 6;  // "AT&F\r"
inline constexpr int32_t JOB_START_SEARCH = 10;  // starts an inquiry
inline constexpr int32_t JOB_NEXT_RESULT = 11;   // one poll for an inquiry report
inline constexpr int32_t JOB_APPLY = 12;         // writes the page's values
inline constexpr int32_t JOB_STOP_SEARCH = 13;   // cancels the inquiry
inline constexpr int32_t JOB_DISCONNECT = 14;    // ends the module's Bluetooth link

inline constexpr int32_t JR_OK = 0;                // the job succeeded
inline constexpr int32_t JR_FAILED = 1;            // the job failed
inline constexpr int32_t JR_NO_MODEL = 2;          // JOB_CHECK_DEVICE: no model name came back
inline constexpr int32_t JR_WAIT_FAILED = 3;       // JOB_NEXT_RESULT: no report in this poll
inline constexpr int32_t JR_SEARCH_DONE = 4;       // JOB_NEXT_RESULT: the module ended the inquiry
inline constexpr int32_t JR_NAME_FAILED = 6;       // JOB_APPLY: the name was refused
inline constexpr int32_t JR_UART_FAILED = 7;       // JOB_APPLY: UART values invalid or refused
inline constexpr int32_t JR_TARGET_FAILED = 8;     // JOB_APPLY: the target was refused
inline constexpr int32_t JR_OPMODE_FAILED = 9;     // JOB_APPLY: operation mode invalid or refused
inline constexpr int32_t JR_RESPONSE_FAILED = 10;  // JOB_APPLY: the response setting was refused
