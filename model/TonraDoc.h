// CTonraDoc: the one document of the program. It holds every device slot of the network with
// its connection settings, identity and the complete parameter set of every channel, plus the
// shadow: the values known to be on the device. Pages, dialogs and the link engines read and
// write the fields directly; the operations keep values inside their ranges, spread edits over
// linked channels, copy channels and take snapshots.
//
// Every per-device operation takes the device slot last; -1 selects currentDevice. Channels are
// addressed by channel number (inputs first, then outputs); ChannelSlot maps them to the slots
// of the arrays (inputs 0..7, outputs 8..15).
#pragma once

#include "framework/Types.h"
#include "model/ConnectionFile.h"
#include "model/EditHistory.h"
#include "model/Measurement.h"
#include "model/ModelTypes.h"
#include "model/SetupFile.h"
#include "model/TonraParams.h"

#include <QByteArray>
#include <QByteArrayView>

#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMsgWnd;
namespace model {
class EditGesture;
}

// CTonraDoc is the application's document; CTonraApp is the application, CTonraView its view.
// The transmitted parameters (mute, gain, ... limRelease) are the CTonraParams part: the
// current values.
class CTonraDoc : public CTonraParams {
public:
    // The device character set: names, program names and passwords travel as the 1-based
    // position of each character in this table (blank = 1, "A" = 2, ...).
    static constexpr std::string_view NameCharTable =
        " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz-<>?,./~!@#$%^&*()=+';:";
    static constexpr int kBlankCode = 1;

    CTonraDoc();
    CTonraDoc(const CTonraDoc&) = delete;
    CTonraDoc& operator=(const CTonraDoc&) = delete;

    // ---- Document-wide fields ----
    // Outcome of the last setup-file load.
    static constexpr int kLoadOk = 0;
    static constexpr int kLoadCountsDiffer = 3; // refused: the online device has other channel counts
    static constexpr int kLoadFailed = -1;      // the file cannot be read or cannot be used
    int loadResult = kLoadOk;
    int currentDevice = 0;
    int pageMode = 0;       // 0 home (network) page, 1 device page
    int connectionMode = 0; // 0 COM ports, non-zero network addresses
    std::string productName = "Veltrix";
    std::string documentCaption;
    std::string programListFile;
    std::array<std::string, model::kProgramCount> programFiles{};
    std::string statusText;

    // ---- Per-device fields ----
    model::DeviceArray<int> comPort{}; // 1-based; 0 = no port
    model::DeviceArray<std::array<int, model::kIpOctetCount>> ipAddress{};
    model::DeviceArray<int> deviceOnline{};
    model::DeviceArray<std::string> deviceModel{};
    model::DeviceArray<int> inputCount{};
    model::DeviceArray<int> outputCount{};
    model::DeviceArray<std::string> devicePassword{};
    model::DeviceArray<std::string> enteredPassword{};
    model::DeviceArray<int> passwordOk{};
    model::DeviceArray<std::array<int, model::kLockCount>> securityLocks{};
    model::DeviceArray<int> oemPrograms{};
    model::DeviceArray<int> factoryEq{};
    model::DeviceArray<std::array<std::string, model::kProgramCount>> programName{};
    model::DeviceArray<int> currentProgram{};
    model::DeviceArray<std::array<std::string, model::kLcdLineCount>> lcdLine{};
    model::SlotArray<int> linkGroup{}; // indexed by channel NUMBER, not slot
    model::DeviceArray<std::array<int, model::kBandCount>> qDisplay{};
    model::BandArray<int> eqBandOn{}; // indexed by channel NUMBER and band
    model::OutputArray<int> plotOutputShown{};
    std::array<model::DeviceArray<int>, model::kPlotCurveGroupCount> plotCurveShown{}; // [group][device]

    // ---- Per-channel parameters that stay on the PC (the transmitted ones are inherited) ----
    model::SlotArray<int> meterLevel{};
    model::OutputArray<int> ampGain{};
    model::OutputArray<int> speakerImpedance{};

    // ---- Measurements shown on the plot, per output (PC only: never sent, never saved) ----
    model::OutputArray<model::LoadedMeasurement> measurements{};

    // ---- The shadow: what is known to be on each device ----
    CTonraShadow shadow;

    // ---- Channel counts ----
    int GetInputCount(int device = -1) const;
    int GetOutputCount(int device = -1) const;
    int GetChannelCount(int device = -1) const;
    void SetInputCount(int count, int device = -1);
    void SetOutputCount(int count, int device = -1);

    // The device slot an argument names: -1 is currentDevice; -1 when there is no such slot.
    int ResolveDevice(int device) const;
    // Slot of channel number `channel`: the channel itself for inputs, 8 + output number for
    // outputs. -1 when the channel lies outside the 16 slots.
    int ChannelSlot(int channel, int device = -1) const;

    // ---- Parameters ----
    // Clamped read of parameter `kind` of a channel; `index` is the band (kinds 5..8), the
    // input (kind 10) or the crossover filter (kinds 11..13). Never changes the stored value.
    int GetParam(int kind, int channel, int index, int device = -1) const;
    // Clamped write to the channel and every channel linked with it; returns the channel count.
    int SetParam(int kind, int value, int channel, int index, int device = -1);
    // Kind 9 (channel name) only; other kinds give "" and are ignored.
    std::string GetParamText(int kind, int channel, int device = -1) const;
    void SetParamText(int kind, const std::string& text, int channel, int device = -1);
    // The display text of a parameter; empty for kinds without one (0, 1, 9).
    std::string FormatParam(int kind, int channel, int index, int device = -1) const;
    // The parser of every typed number.
    static double ParseDecimal(const std::string& text);

    // 4 for the "NQVE" family, 0, 1 or 2 for the others.
    int ModelFamily(int device = -1) const;
    // Upper bound of delay (kind 4) and input source level (kind 10) on the device; 0 otherwise.
    int MaxParamValue(int kind, int device = -1) const;
    bool IsLinked(int channelA, int channelB, int device = -1) const;

    // ---- Whole-device operations ----
    void ValidateDevice(int device = -1);
    void TakeSnapshot(int device = -1);
    void CopyChannel(int sourceChannel, int targetChannel, int device = -1);

    // ---- The operator's edits, step by step (model/EditHistory.h, model/EditGesture.h) ----
    // SetParam, SetParamText, CopyChannel, SetLinkGroup and SetBandOn record every stored value
    // they change in the open gesture; its end makes the gesture one step of the device's
    // history. The link engine writes the fields directly, so device values are never steps.
    const model::EditHistory& History(int device = -1) const;
    // Takes back the device's last step: each value it changed returns to its value before
    // (linked channels included) and the setup counts as modified; the link engine sends what
    // now differs from the shadow. Null when there is nothing to take back. RedoStep makes the
    // next undone step again.
    const model::EditStep* UndoStep(int device = -1);
    const model::EditStep* RedoStep(int device = -1);
    // Ends the open gesture; the view calls it at every release of the mouse.
    void EndOpenGesture();
    // A channel's link group (0: not linked) and an EQ band's on switch, as the operator sets them.
    void SetLinkGroup(int group, int channel, int device = -1);
    void SetBandOn(bool on, int channel, int band, int device = -1);
    // The stored value of `field` of a device; for a channel name 0 (the name is channelName).
    int FieldValue(const model::FieldRef& field, int device = -1) const;

    // ---- Names in the device character set ----
    static std::vector<int> EncodeNameChars(const std::string& text, int length);
    static std::string DecodeNameChars(std::span<const int> codes);

    // ---- Document lifecycle ----
    // New: every device back to its default parameters, connection settings from the
    // connection file, shadow equal to the current values. Identity, passwords, program names,
    // locks, link groups and band switches stay.
    bool OnNewDocument();
    // Open: loads the setup file at `path` into the current device. On success the caption
    // and the path name become the path and the views refresh. Otherwise nothing changes:
    // loadResult is kLoadCountsDiffer (left to the caller to report) or kLoadFailed, and then
    // FileProblem() names the file and the problem.
    bool OnOpenDocument(const std::string& path);
    // Save: writes the current device as a setup file. A failure leaves any earlier file of
    // that name as it was, and FileProblem() names the file and the problem.
    bool OnSaveDocument(const std::string& path);
    // Why the last Open, Save or WriteConnectionFile failed, in the operator's words; empty
    // when it succeeded or only the channel counts differed.
    const std::string& FileProblem() const { return fileProblem_; }
    // Modified: the operator changed the setup since it was new, opened or saved. SetParam,
    // SetParamText and CopyChannel mark it when they change a value; values that come from a
    // device (written into the fields by the link engine) or from a file do not.
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    // The setup file the document was last opened from or saved to; empty after New.
    const std::string& GetPathName() const { return pathName_; }
    void SetPathName(const std::string& path) { pathName_ = path; }

    // ---- Setup files as bytes ----
    // The current device as a setup file in the current format.
    QByteArray StoreSetup() const;
    // Loads a setup file into the current device only when the whole file was read, the
    // channel counts are possible and, for an online device, equal to its own; then the
    // device is validated and its shadow left alone, so the link engine sends what differs.
    // Returns loadResult; for kLoadFailed `problem` says why.
    int LoadSetup(QByteArrayView bytes, std::string& problem);
    // The message for a setup file refused with kLoadCountsDiffer, naming the channel counts of
    // the file and of the device.
    std::string CountsDifferText() const;

    // ---- Connection file ----
    // Writes the connection file with `settings`; on a failure FileProblem() names the file
    // and the reason.
    bool WriteConnectionFile(const model::ConnectionSettings& settings);

    // ---- Views ----
    // wParam of the UM_REFRESH that RefreshViews sends: the view refreshes the device panel
    // and repaints, as after a sync.
    static constexpr WPARAM kRefreshViewsCode = 0;
    // The view that RefreshViews asks to refresh (not owned; null for none).
    void SetView(CMsgWnd* view) { view_ = view; }
    CMsgWnd* GetView() const { return view_; }
    // The view refreshes the device panel from the document and repaints.
    void RefreshViews();

private:
    // Reads the connection file into connectionMode, comPort and ipAddress; false (and nothing
    // changed) when there is none.
    bool ReadConnectionFile();
    model::DeviceSetup GetDeviceSetup(int device) const;
    void SetDeviceSetup(const model::DeviceSetup& setup, int device);
    void ResetDevice(int device);
    // The stored int of a parameter of slot `slot`; null for text kinds, unknown kinds and
    // indexes outside the band, input or filter range.
    const int* ParamField(int kind, int device, int slot, int index) const;
    int* ParamField(int kind, int device, int slot, int index);
    int ParamUpperBound(int kind, int device) const;
    // Edits (model/TonraDocEdits.cpp).
    friend class model::EditGesture;
    void BeginGesture(std::string label);
    void EndGesture();
    // The open step takes changes of device `d`; another device's changes become a step first.
    void OpenStepFor(int d);
    void CommitOpenStep();
    void Record(int device, model::FieldRef field, int before, int after);
    void RecordName(int device, int slot, const std::string& before, const std::string& after);
    int* FieldPointer(const model::FieldRef& field, int device);
    // Writes the values of a step before (`undo`) or after it.
    void ApplyStep(const model::EditStep& step, int device, bool undo);
    // Undoes (`undo`) or redoes a step of the device's history.
    const model::EditStep* TakeStep(int device, bool undo);

    CMsgWnd* view_ = nullptr;
    bool modified_ = false;
    // The channel counts of the setup file last refused for differing from the device's.
    int refusedFileInputs_ = 0;
    int refusedFileOutputs_ = 0;
    std::string pathName_;
    std::string fileProblem_;
    std::array<model::EditHistory, model::kDeviceCount> histories_;
    model::EditStep openStep_; // the changes of the open gesture
    int openDevice_ = -1;      // whose they are
    int gestureDepth_ = 0;
};
