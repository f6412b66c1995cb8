#include "platform/MessageMap.h"

#include <cstdint>

namespace ui {

void MessageMap::AddCommand(int first, int last, UINT code, std::function<void(UINT)> fn) {
    m_commands.push_back({first, last, code, std::move(fn)});
}

void MessageMap::AddMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn) {
    m_messages[message] = std::move(fn);
}

void MessageMap::AddReflect(UINT code, std::function<void()> fn) {
    m_reflects[code] = std::move(fn);
}

bool MessageMap::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    if (message == WM_COMMAND) {
        // The id is a 16-bit word: mapped as -1 (IDC_STATIC) or as a menu id
        // above 32767 such as 57664 or 32772.
        const int word = static_cast<int>(wParam & 0xFFFFu);
        const int signedWord = static_cast<int>(static_cast<std::int16_t>(wParam & 0xFFFFu));
        const UINT code = static_cast<UINT>((wParam >> 16) & 0xFFFFu);
        for (const auto& entry : m_commands) {
            const int id = word >= entry.first && word <= entry.last ? word : signedWord;
            if (id >= entry.first && id <= entry.last && code == entry.code) {
                result = 0;
                auto fn = entry.fn;
                fn(static_cast<UINT>(id));
                return true;
            }
        }
        return false;
    }
    auto it = m_messages.find(message);
    if (it == m_messages.end()) return false;
    auto fn = it->second;
    result = fn(wParam, lParam);
    return true;
}

bool MessageMap::Reflect(UINT code) const {
    auto it = m_reflects.find(code);
    if (it == m_reflects.end()) return false;
    auto fn = it->second;
    fn();
    return true;
}

}  // namespace ui
