/* What filling the terminal's view costs Wine's rich edit, one way against
 * another: a full view (32,767 characters of the flood's kind of lines) put
 * into a RichEdit20W control shaped as the terminal's, then drawn. Built with
 * mingw-w64 and run under Wine on a display:
 *
 *   x86_64-w64-mingw32-gcc -O2 -municode -o richedit_fill_probe.exe \
 *     bench/richedit_fill_probe.c
 *   wine richedit_fill_probe.exe
 *
 * Prints one line per way: the best and the worst of a few fills, and the
 * longest single call among them (what a click would wait for).
 */
#include <richedit.h>
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

enum { kLimit = 32767, kRuns = 3 };

static double Now(void) {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

static wchar_t g_text[kLimit + 64];
static int g_length;

/* Lines like the flood's, CR LF ended, with Hangul and a surrogate pair. */
static void MakeText(void) {
    static const wchar_t* const kTexts[] = {L"OK",
                                            L"AT+VER? Tarnel 1.1",
                                            L"\xD55C\xAD6D\xC5B4 \xD14D\xC2A4\xD2B8",
                                            L"price 12 \x20AC, check \x2713",
                                            L"The quick brown fox jumps over the lazy dog",
                                            L"\xD83D\xDE00 smile"};
    wchar_t line[128];
    for (int i = 0;; ++i) {
        const int n = swprintf(line, 128, L"line %d: %ls\r\n", i, kTexts[i % 6]);
        /* The control counts CR LF as one character. */
        if (g_length + n > kLimit + i) break;
        wmemcpy(g_text + g_length, line, (size_t)n);
        g_length += n;
    }
    g_text[g_length] = 0;
}

static double g_longest;

static void Timed(HWND edit, UINT message, WPARAM w, LPARAM l) {
    const double start = Now();
    SendMessageW(edit, message, w, l);
    const double took = Now() - start;
    if (took > g_longest) g_longest = took;
}

/* Shows the end and draws, as the terminal does after each piece. */
static void ShowEnd(HWND edit) {
    Timed(edit, WM_VSCROLL, SB_BOTTOM, 0);
    const double start = Now();
    RedrawWindow(edit, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const double took = Now() - start;
    if (took > g_longest) g_longest = took;
}

static void Pieces(HWND edit, int units, int drawEach) {
    for (int at = 0; at < g_length; at += units) {
        int n = g_length - at < units ? g_length - at : units;
        wchar_t saved = g_text[at + n];
        g_text[at + n] = 0;
        Timed(edit, WM_SETREDRAW, FALSE, 0);
        Timed(edit, EM_SETSEL, -1, -1);
        Timed(edit, EM_REPLACESEL, FALSE, (LPARAM)(g_text + at));
        Timed(edit, WM_SETREDRAW, TRUE, 0);
        g_text[at + n] = saved;
        if (drawEach) ShowEnd(edit);
    }
    if (!drawEach) ShowEnd(edit);
}

static void Pieces4096(HWND edit) {
    Pieces(edit, 4096, 1);
}

static void Pieces1024(HWND edit) {
    Pieces(edit, 1024, 1);
}

static void Pieces8192(HWND edit) {
    Pieces(edit, 8192, 1);
}

static void Pieces4096DrawnOnce(HWND edit) {
    Pieces(edit, 4096, 0);
}

static void OneReplaceSel(HWND edit) {
    Pieces(edit, kLimit + 64, 1);
}

static void SetText(HWND edit) {
    Timed(edit, WM_SETTEXT, 0, (LPARAM)g_text);
    ShowEnd(edit);
}

static void SetTextEx(HWND edit) {
    SETTEXTEX how = {ST_DEFAULT, 1200};
    Timed(edit, EM_SETTEXTEX, (WPARAM)&how, (LPARAM)g_text);
    ShowEnd(edit);
}

static DWORD CALLBACK GiveText(DWORD_PTR cookie, LPBYTE buffer, LONG want, LONG* given) {
    int* at = (int*)cookie;
    LONG left = (LONG)((g_length - *at) * (int)sizeof(wchar_t));
    *given = left < want ? left : want;
    memcpy(buffer, (const BYTE*)g_text + *at * (int)sizeof(wchar_t), (size_t)*given);
    *at += *given / (LONG)sizeof(wchar_t);
    return 0;
}

static void StreamIn(HWND edit) {
    int at = 0;
    EDITSTREAM stream = {(DWORD_PTR)&at, 0, GiveText};
    Timed(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    ShowEnd(edit);
}

static void HiddenPieces4096(HWND edit) {
    ShowWindow(edit, SW_HIDE);
    Pieces(edit, 4096, 1);
    ShowWindow(edit, SW_SHOW);
    ShowEnd(edit);
}

static void Empty(HWND edit) {
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, (LPARAM)L"");
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

static HWND MakeEdit(HWND parent, int plain) {
    HWND edit = CreateWindowExW(0, L"RichEdit20W", L"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL, 4, 4, 560,
                                290, parent, (HMENU)1075, GetModuleHandleW(NULL), NULL);
    if (plain) SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageW(edit, EM_SETUNDOLIMIT, 0, 0);
    SendMessageW(edit, EM_EXLIMITTEXT, 0, kLimit);
    SendMessageW(edit, EM_SHOWSCROLLBAR, SB_VERT, TRUE);
    SendMessageW(edit, EM_SETBKGNDCOLOR, 0, 0);
    CHARFORMAT2W format = {0};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = 0xFFFFFF;
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, (LPARAM)&format);
    return edit;
}

static void Pump(void) {
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

static void Measure(HWND parent, const char* name, void (*fill)(HWND), int plain) {
    HWND edit = MakeEdit(parent, plain);
    Pump();
    double best = 1e9, worst = 0;
    g_longest = 0;
    for (int run = 0; run < kRuns; ++run) {
        Empty(edit);
        Pump();
        const double start = Now();
        fill(edit);
        const double took = Now() - start;
        if (took < best) best = took;
        if (took > worst) worst = took;
        Pump();
    }
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    printf("%-22s %-6s best %6.1f ms  worst %6.1f ms  longest call %6.1f ms  length %ld\n", name,
           plain ? "plain" : "rich", best * 1000, worst * 1000, g_longest * 1000, (long)length);
    fflush(stdout);
    DestroyWindow(edit);
}

int wmain(void) {
    LoadLibraryW(L"riched20.dll");
    MakeText();
    HWND window = CreateWindowExW(0, L"STATIC", L"fill probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600,
                                  340, NULL, NULL, GetModuleHandleW(NULL), NULL);
    static const struct {
        const char* name;
        void (*fill)(HWND);
    } kWays[] = {{"pieces of 4096", Pieces4096},
                 {"pieces of 1024", Pieces1024},
                 {"pieces of 8192", Pieces8192},
                 {"4096s, drawn once", Pieces4096DrawnOnce},
                 {"one EM_REPLACESEL", OneReplaceSel},
                 {"WM_SETTEXT", SetText},
                 {"EM_SETTEXTEX", SetTextEx},
                 {"EM_STREAMIN", StreamIn},
                 {"hidden, pieces of 4096", HiddenPieces4096}};
    for (int plain = 0; plain < 2; ++plain) {
        for (size_t i = 0; i < sizeof kWays / sizeof kWays[0]; ++i)
            Measure(window, kWays[i].name, kWays[i].fill, plain);
    }
    DestroyWindow(window);
    return 0;
}
