// CTonraView: the only view of the main window. It fills the frame's client area and owns the
// 16 link engines (one per device slot), the pages and the navigation bar of ten buttons along
// the bottom edge beside the status box. Every press of every control in the window reaches it
// as UM_CTRL_PRESS; it turns the navigation buttons and the device tiles into the program's
// commands. The engines report to it with UM_REFRESH.
#pragma once

#include "app/StatusLine.h"
#include "controls/ModButton.h"
#include "framework/Wnd.h"
#include "link/Port.h"
#include "model/ConnectionFile.h"
#include "model/EqFilterText.h"
#include "model/ModelTypes.h"
#include "pages/WndDevice.h"
#include "pages/WndMain.h"

#include <array>
#include <functional>
#include <string>

class CTonraDoc;

// CTonraView is the application's view: the client area of the main window (CMainFrame).
class CTonraView : public CWnd {
public:
    // The caption of the program's questions.
    static constexpr const char* kConfirmCaption = "Confirm";
    static constexpr int kNavButtonCount = 10;
    static constexpr UINT kFirstNavButtonId = 100;
    static constexpr UINT kFirstDeviceTileId = 200;
    static constexpr int kNavBarHeight = 40;
    static constexpr int kStatusBoxWidth = 160;
    static constexpr int kHomePage = 0;
    static constexpr int kDevicePage = 1;

    // The navigation commands by button id.
    enum NavCommand : UINT {
        kConnection = 100, // home page
        kVersion = 101,
        kProgram = 100, // device page
        kCopy = 101,
        kSecurity = 102,
        kViewData = 103,
        kAllPrograms = 104,
        kPassword = 105,
        kSyncDevice = 106,
        kHome = 107,
    };

    // The entries of the device page's context menu.
    enum EditCommand : UINT { kUndoCommand = 1, kRedoCommand, kHistoryCommand };

    explicit CTonraView(CTonraDoc& document);
    ~CTonraView() override;

    CTonraDoc& GetDocument() const { return document_; }

    // ---- Layout of a view W x H ----
    static CRect NavButtonRect(int button, int width, int height);
    // The green box the status text is drawn in.
    static CRect StatusBoxRect(int width, int height);
    // The status box with its frames: what a new status text repaints.
    static CRect StatusFrameRect(int width, int height);
    // Where both pages lie.
    static CRect PageRect(int width, int height);

    // Captions and visibility of the navigation buttons for page mode 0 (home) or 1 (device);
    // the status text is emptied.
    void SetPageMode(int mode);
    // The main window's caption as the view sets it on every paint.
    std::string WindowCaption() const;
    // A note the caption carries after the product name, such as " - Demo network".
    void SetCaptionNote(std::string note) { captionNote_ = std::move(note); }
    // Asked before a device tile replaces the document with that device's settings; when it
    // answers false the home page stays.
    void SetSaveQuery(std::function<bool()> query) { saveQuery_ = std::move(query); }

    // What confirming the Connection Setup dialog does: write the connection file, take every
    // device offline, then connect every slot with its new port or address.
    void ApplyConnectionSettings(const model::ConnectionSettings& settings);

    // What the status box shows now, and the note beside it that says why a device cannot be
    // reached (or why `shownStatus` failed).
    std::string StatusLineText() const;
    std::string StatusNote() const { return StatusNote(StatusLineText()); }
    std::string StatusNote(const std::string& shownStatus) const;
    // Changes made for device `slot` that have not yet been handed to it.
    int UnsentChanges(int slot) const;
    // When changes have not yet been sent to some device: asks whether to go on anyway.
    // False when the operator chose to stay.
    bool ConfirmUnsentChanges();

    // ---- The operator's edits on the shown device (Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y, Ctrl+H) ----
    // Takes back its last step, or makes the last undone step again, as an edit would be
    // (refused while the device refuses control); the status box says what changed.
    void UndoEdit();
    void RedoEdit();
    // The device's history window, in which a click on a step goes back (or forward) to it.
    void OnHistory();

    CPort& Engine(int slot) { return engines_.at(static_cast<std::size_t>(slot)); }
    CModButton& NavButton(int button) { return navButtons_.at(static_cast<std::size_t>(button)); }
    CWndMain& NetworkPage() { return networkPage_; }
    CWndDevice& DevicePanel() { return devicePanel_; }

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    // On the device page: Undo, Redo and History... of the shown device.
    void OnContextMenu(CWnd* window, CPoint screenPoint) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Edits (app/TonraViewEdits.cpp).
    void InstallEditKeys();
    // Undoes or redoes the steps between the point the shown device is at and the point at
    // which `stepsDone` steps of its history are done.
    void GoToHistoryPoint(std::size_t stepsDone);
    // Shows `text` in the status box for a while.
    void Announce(const std::string& text);
    // Every drag and auto-repeat ends: the operator's gesture is a step.
    void EndTracking(WPARAM id);

    void PaintStatusBox(CDC& dc, int width, int height);
    void PaintStatusNote(CDC& dc);
    // The status box and its note again when what they show changed.
    void UpdateStatusLine();
    CRect StatusNoteRect() const;
    // While the shown device refuses control (its password was not accepted, or it has not
    // been read yet) commands for it are refused with a message saying how to get control
    // back; true when this one was.
    bool RefusedWithoutControl();
    bool DeviceConnected() const;
    // Requests a transfer of the shown device; tells the operator when it cannot start.
    void StartTransfer(CPort::TransferMode mode);
    // Device `slot` answers again after its link was down, and it was changed meanwhile:
    // true to send those changes, false to read the device.
    bool AskLinkBack(int slot);
    // UM_REFRESH from a link engine (or the document).
    void OnLinkRefresh(WPARAM code);
    // The pages' file commands, asked for by UM_EQ_FILTERS and UM_MEASUREMENT: the EQ editor's
    // filter import and export for `channel` (app/TonraViewFilters.cpp), the plot's measurement
    // of `output` loaded or cleared (app/TonraViewMeasurements.cpp).
    void OnEqFilters(UINT command, int channel);
    void OnMeasurement(UINT command, int output);
    // Asks for a filter file, places its filters and shows the report with OK and Cancel; only
    // OK writes the bands into `channel` of the current device, as one step of its history.
    void ImportEqFilters(int channel);
    // Asks where to save and writes the channel's bands as filter text in `format`.
    void ExportEqFilters(int channel, model::FilterTextFormat format);
    // UM_CTRL_PRESS: the commands.
    void OnCommand(UINT id);
    void OnHomeCommand(UINT id);
    void OnDeviceCommand(UINT id);
    void SelectDevice(int device);
    void ReturnHome();
    // The commands of the navigation bar.
    void OnConnection();
    void OnVersion();
    void OnProgram();
    void RecallFromPc();
    // Loads the setup file into the shown device as one step of its history.
    bool OpenAsStep(const std::string& path);
    void StoreToPc();
    void StoreToDevice(int number, const std::string& name);
    void OnCopy();
    void OnSecurity();
    void OnViewData();
    void OnAllPrograms();
    void OnPassword();
    void OnHome();
    // The device panel takes a new channel count: its strips and its plot are laid out again.
    void RelayoutDevicePanel();
    CPort& CurrentEngine();
    // Queues a command frame for the shown device on its engine.
    void QueueCommand(int code, int channel, int value);

    CTonraDoc& document_;
    std::array<CPort, model::kDeviceCount> engines_;
    std::array<CModButton, kNavButtonCount> navButtons_;
    CWndMain networkPage_;
    CWndDevice devicePanel_;
    std::string captionNote_;
    CStatusLine statusLine_;
    std::string paintedStatus_;
    std::string paintedNote_;
    bool statusWidened_ = false;
    std::function<bool()> saveQuery_;
};
