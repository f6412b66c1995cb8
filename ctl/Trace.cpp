#include "ctl/Trace.h"

#include <chrono>
#include <cstdio>
#include <mutex>

namespace tarnel::ctl {
namespace {

std::mutex g_mutex;
std::ostream* g_out = nullptr;
std::chrono::steady_clock::time_point g_start;

void WriteLine(const std::string& port, const std::string& text) {
    std::lock_guard lock(g_mutex);
    if (g_out == nullptr) return;
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - g_start;
    char time[32];
    std::snprintf(time, sizeof time, "%9.3f", since.count());
    *g_out << "tarnelctl: " << time << " " << port << " " << text << "\n" << std::flush;
}

}  // namespace

void Trace::Enable(std::ostream& out) {
    std::lock_guard lock(g_mutex);
    g_out = &out;
    g_start = std::chrono::steady_clock::now();
}

bool Trace::Enabled() {
    std::lock_guard lock(g_mutex);
    return g_out != nullptr;
}

void Trace::Bytes(const std::string& port, char direction, std::string_view bytes) {
    WriteLine(port, std::string(1, direction) + " " + TraceText(bytes));
}

void Trace::Note(const std::string& port, const std::string& text) {
    WriteLine(port, text);
}

std::string TraceText(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (b >= 0x20 && b < 0x7F) {
            text.push_back(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", b);
            text += code;
        }
    }
    return text;
}

}  // namespace tarnel::ctl
