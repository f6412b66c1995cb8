#pragma once

// The toolkit's life for the program: started before the first window and
// ended after the last.

#include <memory>
#include <string_view>

namespace ui {

class Application {
public:
    // Starts the toolkit with the program's command line; takes the one
    // that is running already (tests) and then leaves it running at the end.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Names the program for the desktop and the settings store: the maker,
    // the application and the desktop entry that carries its icon.
    static void SetProgramNames(std::u16string_view organisation, std::u16string_view application,
                                std::u16string_view desktopEntry);
    // A box with no owner window and its own caption, for a failure before
    // any window exists; it returns when the user closes it.
    static void ShowStartupError(std::u16string_view caption, std::u16string_view text);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace ui
