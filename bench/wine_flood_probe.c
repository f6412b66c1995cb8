/* The Windows side of bench/terminal_flood_windows.sh, built there with
 * mingw-w64 and run under Wine in the bench's prefix.
 *
 *   wine_flood_probe read COMn BYTES
 *     The ceiling: a plain ReadFile loop on the port at 460800 baud until
 *     BYTES have come. Prints
 *       read bytes=N seconds=S
 *     timed from the first byte to the last.
 *
 *   wine_flood_probe click TITLE ID KEY VALUE STOPFILE
 *     Once the program answers its window's messages (its start is not
 *     sampled), every 100 ms until STOPFILE exists: a click (SendInput) at the centre
 *     of check box ID of the visible window whose caption holds TITLE, and
 *     the time until the program has taken the box's new state: until it has
 *     stored it as the number VALUE of registry key KEY (under
 *     HKEY_CURRENT_USER). The store is watched, not the box: a message to the
 *     box would be answered before anything else the program has to do, and
 *     one a millisecond would slow it. Prints one line per click
 *       click ms=M
 *     and at the end
 *       clicks n=N worst_ms=M median_ms=M over50=N lost=N
 *     (lost: no new state within 10 s).
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

enum { kBaud = 460800, kChunk = 65536, kPeriodMs = 100, kGiveUpMs = 10000, kMaxClicks = 10000 };

static double Now(void) {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

/* One read of up to kChunk bytes: a plain ReadFile, or, with a completion
 * port, an overlapped one waited for there, as the program's channel (asio)
 * reads. */
static DWORD ReadOnce(HANDLE h, HANDLE completion, char* buffer) {
    DWORD n = 0;
    if (completion == NULL) return ReadFile(h, buffer, kChunk, &n, NULL) ? n : 0;
    OVERLAPPED overlapped = {0};
    if (!ReadFile(h, buffer, kChunk, NULL, &overlapped) && GetLastError() != ERROR_IO_PENDING) return 0;
    ULONG_PTR key;
    OVERLAPPED* done;
    return GetQueuedCompletionStatus(completion, &n, &key, &done, INFINITE) ? n : 0;
}

static int ReadCeiling(const wchar_t* port, long long want, int overlapped) {
    wchar_t path[64];
    swprintf(path, 64, L"\\\\.\\%ls", port);
    HANDLE h = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                           overlapped ? FILE_FLAG_OVERLAPPED : 0, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "wine_flood_probe: cannot open %ls (%lu)\n", port, GetLastError());
        return 1;
    }
    DCB dcb = {0};
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);
    dcb.BaudRate = kBaud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    SetCommState(h, &dcb);
    /* As the program's channel (asio) has them: a read waits for its first
     * byte and returns once the line pauses for a millisecond. */
    COMMTIMEOUTS timeouts = {1, 0, 0, 0, 0};
    SetCommTimeouts(h, &timeouts);
    HANDLE completion = overlapped ? CreateIoCompletionPort(h, NULL, 0, 1) : NULL;
    static char buffer[kChunk];
    long long got = 0;
    double first = 0, last = 0;
    while (got < want) {
        const DWORD n = ReadOnce(h, completion, buffer);
        if (n == 0) break;
        last = Now();
        if (got == 0) first = last;
        got += n;
    }
    if (completion != NULL) CloseHandle(completion);
    CloseHandle(h);
    printf("read bytes=%lld seconds=%.3f\n", got, last - first);
    return got == want ? 0 : 1;
}

struct Search {
    const wchar_t* title;
    int id;
    HWND found;
};

static BOOL CALLBACK OnChild(HWND child, LPARAM param) {
    struct Search* search = (struct Search*)param;
    if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

static BOOL CALLBACK OnTopLevel(HWND window, LPARAM param) {
    struct Search* search = (struct Search*)param;
    wchar_t caption[256];
    if (!IsWindowVisible(window) || !GetWindowTextW(window, caption, 256) || !wcsstr(caption, search->title))
        return TRUE;
    EnumChildWindows(window, OnChild, param);
    return search->found == NULL;
}

/* The check box, in the main window or in the page it holds. */
static HWND FindBox(const wchar_t* title, int id) {
    for (int i = 0; i < 300; ++i) {
        struct Search search = {title, id, NULL};
        EnumWindows(OnTopLevel, (LPARAM)&search);
        if (search.found != NULL) return search.found;
        Sleep(100);
    }
    return NULL;
}

static DWORD Stored(const wchar_t* key, const wchar_t* value) {
    DWORD number = MAXDWORD, size = sizeof number;
    RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, NULL, &number, &size);
    return number;
}

/* A click at (x, y), or only a move there when `click` is 0. */
static void MouseAt(int x, int y, int click) {
    INPUT input[3] = {0};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input[i].mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(click ? 3 : 1, input, sizeof input[0]);
}

static void ClickCentre(HWND box) {
    RECT r;
    GetWindowRect(box, &r);
    MouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, 1);
}

static int ByValue(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static int ClickSamples(const wchar_t* title, int id, const wchar_t* key, const wchar_t* value,
                        const wchar_t* stopFile) {
    HWND box = FindBox(title, id);
    if (box == NULL) {
        fprintf(stderr, "wine_flood_probe: no control %d in '%ls'\n", id, title);
        return 1;
    }
    /* The samples begin once the program has started: the pointer is over
     * the box (this process's first input is not the program's to pay), and
     * the box's window has answered a message. */
    RECT r;
    GetWindowRect(box, &r);
    MouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, 0);
    DWORD_PTR answer;
    SendMessageTimeoutW(GetAncestor(box, GA_ROOT), WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &answer);
    static double ms[kMaxClicks];
    int n = 0, lost = 0, over50 = 0;
    while (GetFileAttributesW(stopFile) == INVALID_FILE_ATTRIBUTES && n < kMaxClicks) {
        const double start = Now();
        const DWORD before = Stored(key, value);
        ClickCentre(box);
        DWORD after = before;
        while (after == before && Now() - start < kGiveUpMs / 1000.0) {
            Sleep(1);
            after = Stored(key, value);
        }
        if (after == before) {
            ++lost;
        } else {
            ms[n] = (Now() - start) * 1000;
            over50 += ms[n] > 50;
            printf("click ms=%.1f\n", ms[n++]);
            fflush(stdout);
        }
        const double next = start + kPeriodMs / 1000.0;
        if (Now() < next) Sleep((DWORD)((next - Now()) * 1000));
    }
    /* Under Wine a pointer left over the window keeps it busy. */
    MouseAt(0, 0, 0);
    qsort(ms, (size_t)n, sizeof ms[0], ByValue);
    printf("clicks n=%d worst_ms=%.1f median_ms=%.1f over50=%d lost=%d\n", n, n ? ms[n - 1] : 0.0,
           n ? ms[n / 2] : 0.0, over50, lost);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && wcscmp(argv[1], L"read") == 0) return ReadCeiling(argv[2], wcstoll(argv[3], NULL, 10), 0);
    if (argc == 4 && wcscmp(argv[1], L"readasync") == 0)
        return ReadCeiling(argv[2], wcstoll(argv[3], NULL, 10), 1);
    if (argc == 7 && wcscmp(argv[1], L"click") == 0)
        return ClickSamples(argv[2], _wtoi(argv[3]), argv[4], argv[5], argv[6]);
    fputs("usage: wine_flood_probe read COMn BYTES | click TITLE ID KEY VALUE STOPFILE\n", stderr);
    return 2;
}
