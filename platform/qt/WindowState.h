#pragma once

// The state behind ui::Window, shared by the backend's sources.

#include <QPointer>
#include <QWidget>
#include <map>
#include <mutex>

#include "platform/WindowCore.h"

class QTimer;

namespace ui {

class WindowLink;

struct Window::State : WindowCore {
    QPointer<QWidget> widget;
    bool ownsWidget = false;
    std::map<UINT, QTimer*> timers;  // owned by the link

    // Guards `link`, which other threads read to post.
    mutable std::mutex linkMutex;
    WindowLink* link = nullptr;
};

}  // namespace ui
