#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Application.h"

#include <string>

#include "platform/win32/GdiplusImage.h"
#include "platform/win32/ProfileKey.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WindowThreadStart.h"

namespace ui {

struct Application::Impl {
    // Before any picture is decoded; ended after the last window.
    win32::GdiplusSession gdiplus;
    // The terminal's RichEdit20W class.
    HMODULE richEdit = nullptr;
};

Application::Application(int&, char**) : m_impl(std::make_unique<Impl>()) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    m_impl->richEdit = LoadLibraryW(L"riched20.dll");
    win32::StartWindowThread();
}

Application::~Application() {
    if (m_impl->richEdit != nullptr) FreeLibrary(m_impl->richEdit);
}

void Application::SetProgramNames(std::u16string_view organisation, std::u16string_view application,
                                  std::u16string_view) {
    // The settings' registry key, as a program's registry key and name give it.
    win32::SetProgramKey(u"Software\\" + std::u16string(organisation) + u'\\' + std::u16string(application));
}

void Application::ShowStartupError(std::u16string_view caption, std::u16string_view text) {
    const std::u16string title(caption);
    const std::u16string body(text);
    MessageBoxW(nullptr, win32::Wide(body), win32::Wide(title), MB_OK | MB_ICONERROR);
}

}  // namespace ui
