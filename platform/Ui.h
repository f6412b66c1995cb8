#pragma once

// The windowing layer: the program's windows written in the Windows model
// (templates, control ids, message maps, posted messages) over a toolkit.
// Include this header for all of it.
//
// The headers here are the layer's interface and name no toolkit; the shared
// part (message maps, the window tree and its destruction, modal runs, data
// exchange, the wait-cursor counter, template geometry in dialog units,
// strings and language, message boxes and their requests from other
// threads, the test hook points, serving waits, version data) is built from
// the sources here, and the backend folder CMake picks (platform/qt/ for Qt 6
// Widgets) implements the rest: the classes' toolkit bodies, Font, Image,
// Painter, Canvas, GetSysColor, Application, FromAnsi, FromUtf8, IsSpace,
// and for the shared part LocaleUiLanguage, ShowToolkitBox,
// PostToWindowThread, ApplyWaitCursor, the hooks of WindowCore.h and the
// backend members Dialog.h names.
//
// A dialog class names its template and declares its message map in the
// constructor; handlers keep the program's names:
//
//     class ComPortCfgDlg : public ui::Dialog {
//     public:
//         ComPortCfgDlg() : ui::Dialog(131) {
//             MapCommand(1079, &ComPortCfgDlg::FillPortList, ui::CBN_DROPDOWN);
//             MapCommandRange(1081, 1082, &ComPortCfgDlg::OnModeRadio);  // gets the id
//             MapMessage(WM_SOME_APP, &ComPortCfgDlg::OnSomeApp);      // LRESULT (WPARAM, LPARAM)
//             MapTimer(&ComPortCfgDlg::OnTimer);                        // void (UINT id)
//         }
//     protected:
//         void DoDataExchange(ui::DataExchange& dx) override {
//             ui::DDX_Control(dx, 1079, m_cbPort);   // member bound to control 1079
//             ui::DDX_Radio(dx, 1081, m_modeRadio);  // radio group from 1081 <-> int
//         }
//         bool OnInitDialog() override { ui::Dialog::OnInitDialog(); ...; return true; }
//         void OnOK() override { ...; ui::Dialog::OnOK(); }    // command IDOK
//         void OnCancel() override { ui::Dialog::OnCancel(); } // IDCANCEL, Escape, close button
//         bool PreTranslateMessage(const ui::MSG& msg) override;
//     };
//
// - Commands: MapCommand(id, handler, code) for WM_COMMAND with that id and
//   notification code (BN_CLICKED when left out; menu items too). A
//   dialog's unmapped IDOK and IDCANCEL go to OnOK and OnCancel; map them to
//   a handler that does nothing to keep Enter and Escape from ending it.
// - Other messages: MapMessage(message, handler) with
//   LRESULT handler(WPARAM, LPARAM): WM_APP + n, WM_SYSCOMMAND. A class may
//   also override WindowProc and call the base for the rest.
// - Keys: MapKeyDown(bool (UINT vk)) then MapChar(bool (char16_t unit)) on the
//   window with the focus; true skips the control's default processing. Before
//   that the key-down walks PreTranslateMessage from the focused window up to
//   its top-level window; true there swallows it.
// - Notifications a control sends are first offered to the control itself
//   (MapReflect(code, handler) on the control's class: EN_MAXTEXT,
//   CBN_EDITUPDATE); unreflected ones reach the parent as WM_COMMAND with
//   MAKEWPARAM(id, code) and lParam the control's ui::Window*.
// - Painting: MapPaint(void (ui::Painter&)) on a control paints it wholly
//   (platform/Painter.h: fill, frame, line, text, image, an off-screen Canvas).
//
// Child pages: derive from ui::PropertyPage(templateId), then
// page.Create(&parentDialog) from the parent's OnInitDialog; page.ShowWindow(
// ui::SW_SHOW / ui::SW_HIDE), page.MoveWindow(rect) in the parent's client
// coordinates (GetWindowRect + ScreenToClient give a control's rectangle
// there). The page's window goes when the parent's does; PostNcDestroy runs.
//
// Modal runs: dlg.DoModal() returns what EndDialog(result) was given; runs
// nest. A dialog object can run again after its modal run returned.
//
// Other threads: window->PostMessage(msg, w, l) from any thread (in order,
// dropped when the window is gone); ui::AfxMessageBox from any thread (blocks
// the caller until answered); Window::BeginWaitCursor/EndWaitCursor from any
// thread. A window-thread wait on a lock that such a thread may hold while it
// shows a box: auto lock = ui::LockServing(mutex); a wait for a condition:
// ui::WaitServing(pred). A plain std::mutex::lock there can deadlock.
//
// Texts: std::u16string in the windowed code (ui::FromUtf8, ui::FromAnsi
// convert). Strings by id: ui::LoadString(id). Message boxes:
// ui::AfxMessageBox(stringId or text, style); caption "Tarnel Manager".
// Language: ui::SetUiLanguage(ui::Language::Korean) before windows are built.
//
// Tests on the Qt backend (QT_QPA_PLATFORM=offscreen): a QApplication must
// exist; ui::QWidgetOf (platform/qt/WindowAccess.h) gives the widget a
// person's click or key goes to; a plain
// window (Window::CreateBlank) stands in for a parent or the main window;
// ui::test::MessageBoxRecorder and ui::test::ModalRecorder (tests/support/)
// answer and record boxes and modal dialogs; ui::test::ProcessEvents is the pump for
// tarnel::test::WaitUntil; ui::SetProfileDirectory points the settings store
// at a temporary directory.

#include "platform/Application.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/Font.h"
#include "platform/FromAnsi.h"
#include "platform/FromUtf8.h"
#include "platform/Image.h"
#include "platform/IsSpace.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/LoadString.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/Painter.h"
#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "platform/PropertyPage.h"
#include "platform/RichEditCtrl.h"
#include "platform/ServingWait.h"
#include "platform/Static.h"
#include "platform/StatusBar.h"
#include "platform/SysColor.h"
#include "platform/TestHooks.h"
#include "platform/VersionInfo.h"
#include "platform/Window.h"
