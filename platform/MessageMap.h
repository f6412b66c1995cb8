#pragma once

// A window's message map: which handler a WM_COMMAND, another message or a
// notification reflected to the control itself reaches.

#include <functional>
#include <map>
#include <vector>

#include "res/WinDefs.h"

namespace ui {

class MessageMap {
public:
    // WM_COMMAND for ids first..last with this notification code; the
    // handler gets the id.
    void AddCommand(int first, int last, UINT code, std::function<void(UINT)> fn);
    void AddMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn);
    void AddReflect(UINT code, std::function<void()> fn);

    // Runs the entry for the message; false when none matches. A handler may
    // change the map while it runs.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;
    // Runs the control's own handler of a notification; false when it has none.
    bool Reflect(UINT code) const;

private:
    struct CommandEntry {
        int first;
        int last;
        UINT code;
        std::function<void(UINT)> fn;
    };

    std::vector<CommandEntry> m_commands;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_messages;
    std::map<UINT, std::function<void()>> m_reflects;
};

}  // namespace ui
