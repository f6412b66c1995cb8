#pragma once

// A dialog built from a dialog template of res/: run modally (DoModal) or
// created as a child page (PropertyPage). See platform/Ui.h.

#include <memory>

#include "platform/Window.h"
#include "res/ResourceTypes.h"

namespace ui {

class DataExchange;
class Menu;

class Dialog : public Window {
public:
    // `parent` owns a modal run (the main window when it is nullptr).
    explicit Dialog(int templateId, Window* parent = nullptr);
    // A dialog from a template the caller keeps alive (tests).
    explicit Dialog(const res::DialogTemplate& dialogTemplate, Window* parent = nullptr);
    ~Dialog() override;

    int GetTemplateId() const { return m_templateId; }

    // Builds the window from the template, calls OnInitDialog, shows it and
    // runs a modal loop until EndDialog; then destroys the window (children
    // and PostNcDestroy first) and returns the value given to EndDialog.
    // Returns -1 when the template does not exist or the window exists
    // already. Modal runs nest: a dialog ended while an inner run is active
    // returns once the inner run has returned.
    int DoModal();
    // Ends the modal run with `result`; the loop returns once the current
    // handler returns. A no-op for a dialog that is not running modally.
    void EndDialog(int result);

    // Exchanges the bound data: `saveAndValidate` false puts the members into
    // the controls, true reads them back. Calls DoDataExchange. Returns true.
    bool UpdateData(bool saveAndValidate = true);

    // The menu bar built from the template's menu, or nullptr.
    Menu* GetMenu() const;
    // The system menu of a top-level dialog (empty at first), or nullptr for a
    // child dialog or one without a window.
    Menu* GetSystemMenu();

protected:
    // Binds controls and data; called by UpdateData. The base binds nothing.
    virtual void DoDataExchange(DataExchange& dx);
    // The window and its controls exist; call the base first (it runs
    // UpdateData(false), which binds the members). The return value is
    // ignored (TRUE on Windows: the layer sets the first focus itself).
    virtual bool OnInitDialog();
    // Default handling of command IDOK: UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    // Default handling of command IDCANCEL (Escape, the close button):
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    // A child dialog: builds the window from the template as a child of
    // `parent`, hidden unless the template says visible, and calls
    // OnInitDialog. Returns false when the template does not exist, the parent
    // has no window, or the window exists already.
    bool CreateChild(Window* parent);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend void DDX_Control(DataExchange& dx, int id, Window& control);
    friend void DDX_Radio(DataExchange& dx, int firstId, int& value);

    // One run of DoModal: what EndDialog gave, and the backend's loop while
    // it runs.
    struct ModalRun {
        int result = -1;
        bool ended = false;
        struct Loop;
        Loop* loop = nullptr;
    };

    const res::DialogTemplate* Template() const;
    bool Build(Window* parent, bool child);

    // --- Defined by the backend ------------------------------------------
    // Makes the window and its controls: a child in `parent`'s client area,
    // or a top-level window owned by `parent` (nullptr: none).
    bool BuildWindow(const res::DialogTemplate& dialogTemplate, Window* parent, bool child);
    void BuildMenu(const res::MenuTemplate& menu);
    // Shows the built window modally, the first control focused.
    void ShowModal();
    // Returns when EndModalLoop ends `run` or the window goes.
    void RunModalLoop(ModalRun& run);
    // EndDialog of `run`: the loop returns once the running handler returns.
    void EndModalLoop(ModalRun& run);

    int m_templateId;
    const res::DialogTemplate* m_template = nullptr;
    Window* m_owner;
    ModalRun* m_run = nullptr;
    // The backend's widgets of the built window.
    struct Built;
    std::unique_ptr<Built> m_built;
};

}  // namespace ui
