#include "platform/HookState.h"

#include <utility>

namespace ui {
namespace {

std::function<int(const test::MessageBoxCall&)> g_boxHook;
std::function<void(Dialog&)> g_modalHook;

}  // namespace

std::function<int(const test::MessageBoxCall&)> detail::MessageBoxHook() {
    return g_boxHook;
}

std::function<void(Dialog&)> detail::ModalHook() {
    return g_modalHook;
}

void test::SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) {
    g_boxHook = std::move(hook);
}

void test::SetModalHook(std::function<void(Dialog&)> hook) {
    g_modalHook = std::move(hook);
}

}  // namespace ui
