#pragma once

// The state behind ui::Window, shared by the layer's sources.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/MessageMap.h"
#include "platform/Window.h"

class QTimer;

namespace ui {

class WindowLink;

struct Window::State {
    MessageMap map;
    std::function<void(Painter&)> paint;

    QPointer<QWidget> widget;
    bool ownsWidget = false;
    int id = 0;
    Window* parent = nullptr;
    std::vector<Window*> children;
    std::map<UINT, QTimer*> timers;  // owned by the link

    // Guards `link`, which other threads read to post.
    mutable std::mutex linkMutex;
    WindowLink* link = nullptr;

    // Controls of a dialog by id: the bound member or the layer's wrapper.
    std::map<int, Window*> controls;
    std::vector<std::unique_ptr<Window>> ownControls;
};

}  // namespace ui
