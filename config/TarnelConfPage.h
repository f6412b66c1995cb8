#pragma once

// The configurator page (template 107): shows the module's settings, writes
// changed ones back, factory-resets the module and searches for nearby
// devices. Every exchange with the module runs on the page's worker
// (TarnelConfWorker.h) as a job; each job reports back with WM_JOB_RESULT.
// What follows a job, and what the user is told, is the flow's to say
// (module/ConfiguratorFlow.h); the page shows it.
//
// Threads: everything here is for the window thread, except that the
// engine's error observer runs on an I/O thread (OnCommError, and the
// atomics it touches).

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "config/FoundDevices.h"
#include "config/TarnelConfWorker.h"
#include "config/WaitCursorHold.h"
#include "controls/CXGroupBox.h"
#include "controls/LineSettingItems.h"
#include "module/ConfiguratorFlow.h"
#include "module/FlowOutcome.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/ListCtrl.h"
#include "platform/PropertyPage.h"
#include "protocol/BdAddr.h"
#include "protocol/PayloadRecords.h"
#include "protocol/TarnelComm.h"

class TarnelConfPage : public ui::PropertyPage {
public:
    static constexpr int TEMPLATE_ID = 107;
    // The page's own message and button texts in the string table; the
    // flow's messages are in module/MessageIds.h.
    static constexpr int IDS_NO_DEVICE_SELECTED = 112;
    static constexpr int IDS_SEARCH_DEVICE = 113;
    static constexpr int IDS_STOP_SEARCH = 114;

    // Posted by the engine's error observer: wParam the serial error's value,
    // lParam the opening of the port (below).
    static constexpr ui::UINT WM_PORT_ERROR = ui::WM_APP + 0x835;
    // The main window's "Setup COM port" command, posted when the page has
    // given up its port.
    static constexpr int ID_SETUP_COM_PORT = 32772;
    // The guard of a device search.
    static constexpr ui::UINT SEARCH_TIMER_ID = 701;
    static constexpr ui::UINT SEARCH_TIMER_MS = 61000;

    enum ControlId {
        IDC_FW_VERSION = 1001,
        IDC_DEVICE_NAME = 1002,
        IDC_APPLY = 1003,
        IDC_GB_DEVICE_INFO = 1006,
        IDC_GB_UART = 1007,
        IDC_REFRESH = 1008,
        IDC_FACTORY_RESET = 1009,
        IDC_BAUD = 1010,
        IDC_PARITY = 1011,
        IDC_STOP_BITS = 1012,
        IDC_FLOW = 1013,
        IDC_RESULT_LIST = 1015,
        IDC_TAKE_TARGET = 1016,
        IDC_TARGET = 1017,
        IDC_CLEAR_TARGET = 1020,
        IDC_GB_OP_MODE = 1022,
        IDC_OP_MODE_0 = 1029,
        IDC_OP_MODE_1 = 1030,
        IDC_OP_MODE_2 = 1031,
        IDC_OP_MODE_3 = 1032,
        IDC_RESPONSE = 1035,
        IDC_BD_ADDR = 1036,
        IDC_GB_SEARCH = 1037,
        IDC_SEARCH = 1038,
    };

    TarnelConfPage();
    // Closes the port if the owner has not.
    ~TarnelConfPage() override;

    // Opens the module's port, starts the worker and queues the first check.
    // parity: 0 none, 1 odd, 2 even; stopBits: 0 one, 1 one and a half, 2 two;
    // flow: 0 none, 1 software, 2 hardware. The empty code on success;
    // otherwise the channel's error and nothing changes. The caller closes a
    // port it opened before (ClosePort) first.
    std::error_code OpenPort(const std::u16string& port, uint32_t baud, uint8_t parity, uint8_t stopBits,
                             uint8_t flow, unsigned charSize);
    // Closes the port and ends and joins the worker; a command the worker
    // waits on ends at once. Waits for the user while the worker shows a box.
    void ClosePort();
    bool IsPortOpen() const;
    // Sends the module reset "ATZ\r" and drops the answer; nothing when the
    // port is closed. Waits while a worker command runs.
    void ResetModule();

    // Enables or disables the controls the user works with. Enabled, the
    // search controls stay disabled when the module's operation mode as last
    // read is 1 or 2.
    void EnableControls(bool on);
    // Shows what the last read returned; false when the operation mode read
    // is not 0 to 3 (the controls after it are then left as they were).
    bool ShowDeviceInfo();
    // Selects the first item whose data is `value` and returns its index; -1,
    // with the selection unchanged, when there is none.
    static int SelectByItemData(ui::ComboBox& combo, ui::ComboBox::ItemData value);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void PostNcDestroy() override;
    bool OnInitDialog() override;

private:
    enum class SearchState { Idle, Searching };

    void InitControls();
    void FillCombo(ui::ComboBox& combo, const ComboItems& items, uintptr_t selected);
    void ConfigureGroupBox(CXGroupBox& box, int frameStyle);
    void EnableAll(const std::vector<ui::Window*>& controls, bool on);
    void EnableAll(const std::vector<int>& ids, bool on);

    void OnApply();
    void OnRefresh();
    void OnFactoryReset();
    void OnSearch();
    void OnTakeTarget();
    void OnClearTarget();
    void OnTimer(ui::UINT id);
    ui::LRESULT OnPortError(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnJobResult(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnSetCursor(ui::WPARAM wParam, ui::LPARAM lParam);
    void OnCommError(const TarnelComm* engine, std::error_code& error);
    // What a read gave; the controls show it when it succeeded.
    void TakeReading(ModuleResult result);
    // What a search step changes on the page before the flow goes on.
    void OnSearchResult(FlowStep step, ModuleResult result);
    // Begins the wait for a job the user started.
    void BeginBusy();
    void Follow(const FlowOutcome& outcome);
    // Shows box `stringId` and returns the answer; 0 when the port's opening
    // ended while the box was up, as the answer then belongs to nobody.
    int Ask(int stringId, ui::UINT style);
    // Closes the port, tells the user `stringId` (none for 0) and offers the
    // port settings again.
    void GiveUp(int stringId);
    // The written settings take effect with the module's reset; then the
    // port is given up.
    void FinishApply(int stringId);
    void PostSetupComPort();
    void ApplyFailed(int stringId);
    bool TakeTargetFromEdit();
    void TakeUartValuesFromControls();
    void SetSearchButtonText(int stringId);

    TarnelComm m_comm;
    // The window thread's part of the flow: what follows each result, and
    // the module's reset after an Apply. The worker runs the steps with its
    // own.
    ConfiguratorFlow m_flow{m_comm};
    WaitCursorHold m_waitCursor;
    TarnelConfWorker m_worker{m_comm, *this, m_waitCursor};
    uint32_t m_openBaud = 9600;
    bool m_busy = false;
    // What the last read gave (TakeReading).
    std::string m_fwVersion;
    DeviceInfo m_devInfo{};
    std::array<uint8_t, INFO2_FLAG_COUNT> m_uartInfo{};
    BdAddr m_curTarget;
    uint8_t m_curResponse = 0;
    std::vector<ui::Window*> m_grpCommon;
    std::vector<int> m_grpCommonIds;
    std::vector<ui::Window*> m_grpSearch;
    std::vector<int> m_grpSearchIds;
    std::vector<CXGroupBox*> m_groupBoxes;
    SearchState m_searchState = SearchState::Idle;
    // The values an Apply writes, from the controls; opening the port sets
    // the line's, which the controls then show.
    BdAddr m_newTarget;
    std::string m_newName;
    uint32_t m_newBaud = 115200;
    char m_newParity = 'N';
    uint8_t m_newStopBits = 1;
    uint8_t m_newFlow = 0;
    uint8_t m_newOpMode = 0;
    uint8_t m_newResponse = 0;
    ui::ListCtrl m_list;
    FoundDevices m_found{m_list};
    ui::Edit m_editName;
    ui::ComboBox m_cbBaud;
    ui::ComboBox m_cbParity;
    ui::ComboBox m_cbStopBits;
    ui::ComboBox m_cbFlow;
    int m_opMode = 0;
    ui::Edit m_editAddr;
    ui::ComboBox m_cbResponse;
    CXGroupBox m_gbDevInfo;
    CXGroupBox m_gbUart;
    CXGroupBox m_gbSearch;
    CXGroupBox m_gbOpMode;
    ui::Edit m_editTarget;

    // Counts every opening and closing of the port: what a job, an error or a
    // box brings back is acted on only within the opening it belongs to.
    std::atomic<uint16_t> m_opening{0};
    // The port of this opening has reported an error (WM_PORT_ERROR is on
    // its way); set on an I/O thread.
    std::atomic<bool> m_portErrorSeen{false};
};
