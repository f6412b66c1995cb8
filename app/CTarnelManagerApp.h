#pragma once

// The application: starts the windowing layer, runs the main dialog modally for the whole life
// of the program and tears everything down when it ends. The global I/O
// executor (g_ioServiceExec) is a namespace-scope object, so it is built
// before this object (which lives in main) and destroyed after it.

#include <memory>

#include "platform/Application.h"

class CTarnelManagerApp {
public:
    // Keeps `argc` and `argv` for the layer that InitInstance starts (or
    // takes the one that runs already).
    CTarnelManagerApp(int& argc, char** argv);
    virtual ~CTarnelManagerApp();
    CTarnelManagerApp(const CTarnelManagerApp&) = delete;
    CTarnelManagerApp& operator=(const CTarnelManagerApp&) = delete;

    // Start-up, the modal run of the main dialog, shutdown. Always false:
    // the program ends when it returns.
    bool InitInstance();

    // The process's exit status: 0, or 1 when the graphics could not start.
    int Run();

protected:
    // Whether the image decoding the windows rely on works; the stand-in for
    // starting the graphics library.
    virtual bool StartGraphics();
    // Tells the user that the graphics could not start (no owner window,
    // caption "Error").
    virtual void ReportGraphicsFailure();

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<ui::Application> m_uiApp;
    bool m_graphicsFailed = false;
};
